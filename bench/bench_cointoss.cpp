// Cointoss with a generated sequence of 10,000,000 characters (and one of the
// longest it generates, 10^8), in its shown offscreen window. Real time of:
// - Generate: the characters alone, one library draw each;
// - GenerateAndShow: the Generate button, the sequence set into the box and the
//   box laid out and painted at its top and at its end: the time the window does
//   not answer after a click;
// - Count: the "Calculate statistics" button with its chart window, laid out and
//   painted.

#include "BenchMain.h"
#include "MultiLineTextBox.h"
#include "PrngLibrary.h"
#include "RunCounts.h"
#include "TextBox.h"
#include "frmCointoss.h"
#include "frmStats.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

void ShowAll(frmCointoss& form) {
    QScrollBar& bar = *form.txtSeq->verticalScrollBar();
    bar.setValue(bar.minimum());
    form.repaint();
    bar.setValue(bar.maximum());
    form.repaint();
    QApplication::processEvents();
}

void Generate(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        std::string seq = cointoss::Generate(n, [] { return platform::PRNGOpenDouble() >= 0.5; });
        benchmark::DoNotOptimize(seq.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

struct Window {
    Window() {
        form.show();
        form.optRandom->click();
        QApplication::processEvents();
    }
    frmCointoss form;
};

void GenerateAndShow(benchmark::State& state) {
    Window w;
    w.form.txtLength->setText(QString::number(state.range(0)));
    for (auto _ : state) {
        w.form.cmdGen->click();
        ShowAll(w.form);
    }
    if (w.form.seq.size() != state.range(0))
        state.SkipWithError("the sequence has another length");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void Count(benchmark::State& state) {
    Window w;
    w.form.txtLength->setText(QString::number(state.range(0)));
    w.form.cmdGen->click();
    ShowAll(w.form);
    for (auto _ : state) {
        w.form.cmdStats->click();
        ShowAll(w.form);
        state.PauseTiming();
        for (QObject* child : w.form.children())
            if (auto* chart = dynamic_cast<frmStats*>(child))
                delete chart;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(Generate)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GenerateAndShow)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Count)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GenerateAndShow)->Arg(cointoss::kMaxLength)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    platform::BindLibrary(platform::kPrngLibrary);
    return bench::Run(argc, argv);
}
