// Bifurcal's DrawDiagram in an offscreen window with a canvas 1000 pixels wide,
// 100 discarded and 200 shown iterates per column over the default ranges: the
// custom default formula a * x * (1 - x) through the evaluator against the
// logistic map computed directly. Both must draw the same picture; the ratio
// of their times is printed at the end (the formula's must stay below 5).

#include "BenchMain.h"
#include "Surface.h"
#include "frmBifurcal.h"

#include <QApplication>
#include <QRadioButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr int kCanvasWidth = 1000;

frmBifurcal*& Form() {
    static frmBifurcal* form = nullptr;
    return form;
}

void Draw(benchmark::State& state, bool custom) {
    frmBifurcal& form = *Form();
    (custom ? form.optCustom : form.optLogistic)->click();
    for (auto _ : state) {
        form.DrawDiagram();
        benchmark::DoNotOptimize(form.picCanvas->Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * (kCanvasWidth + 1));
}

void Logistic(benchmark::State& state) {
    Draw(state, false);
}

void Custom(benchmark::State& state) {
    Draw(state, true);
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    frmBifurcal form;
    // The canvas takes the width less the arrows and the margin.
    form.resize(kCanvasWidth + 252 + 20 + 13, 551);
    form.show();
    QApplication::processEvents();
    Form() = &form;
    if (form.picCanvas->width() != kCanvasWidth) {
        std::fprintf(stderr, "canvas is %d pixels wide, not %d\n", form.picCanvas->width(),
                     kCanvasWidth);
        return 1;
    }
    form.optLogistic->click();
    form.DrawDiagram();
    const QImage logistic = form.picCanvas->Image().copy();
    form.optCustom->click();
    form.DrawDiagram();
    if (form.picCanvas->Image() != logistic) {
        std::fprintf(stderr, "formula and logistic map draw different pictures; no measurement\n");
        return 1;
    }
    benchmark::RegisterBenchmark("DrawDiagram/Logistic", Logistic);
    benchmark::RegisterBenchmark("DrawDiagram/Custom", Custom);
    bench::BestTimes times;
    if (bench::Run(argc, argv, &times) != 0)
        return 1;
    if (const auto ratio = times.Ratio("DrawDiagram/Custom", "DrawDiagram/Logistic"))
        std::printf("DrawDiagram custom formula / logistic map = %.2f (limit 5)\n", *ratio);
    return 0;
}
