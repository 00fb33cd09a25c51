// Hitmiss's sampling loop in an offscreen window against its model alone.
//
// Window: Go in an offscreen frmHitmiss with the formula x * (1 - x) over
// [0, 1], stopped by a timer after kRunTime; each point is drawn, counted, set
// on the window and followed by DoEvents, and the results are shown as the
// window shows them. Model: the same number of
// points of the same box from the sampler alone (random point, formula, hit
// test, counts). The window must keep at least a quarter of the model's rate;
// the share is printed at the end.

#include "BenchMain.h"
#include "HitSampler.h"
#include "PlotBox.h"
#include "TextBox.h"
#include "frmHitmiss.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace {

// Times are per kPoints points, the window's scaled from its runs of kRunTime.
constexpr int kPoints = 1 << 20;
constexpr std::chrono::milliseconds kRunTime{200};
constexpr const char* kFormula = "x * (1 - x)";

frmHitmiss*& Form() {
    static frmHitmiss* form = nullptr;
    return form;
}

void Window(benchmark::State& state) {
    frmHitmiss& form = *Form();
    form.txtFunction->setText(kFormula);
    form.txtMin->setText("0");
    form.txtMax->setText("1");
    double points = 0;
    for (auto _ : state) {
        // Stop is pressed by a timer, as a user would press it: the loop runs as
        // in the program, without a hook.
        QTimer::singleShot(kRunTime, form.cmdGo, [&form] { form.cmdGo->click(); });
        const auto start = std::chrono::steady_clock::now();
        form.cmdGo->click();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        points += form.trialCount;
        state.SetIterationTime(elapsed.count() / form.trialCount * kPoints);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
    state.counters["points"] = points;
}

void Model(benchmark::State& state) {
    expression::clsExpression formula;
    int16_t start = 1;
    formula.FromString(std::string_view(kFormula), start, -1);
    hitmiss::PlotBox box;
    box.Scan(formula, 0, 1, Form()->width());
    for (auto _ : state) {
        hitmiss::HitSampler sampler;
        double hitCount = 0;
        double trialCount = 0;
        for (int i = 0; i < kPoints; ++i) {
            const hitmiss::Point p = sampler.Next(formula, 0, 1, box.LowerY(), box.UpperY());
            hitCount += p.hit;
            trialCount += 1;
        }
        benchmark::DoNotOptimize(hitCount);
        benchmark::DoNotOptimize(trialCount);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    frmHitmiss form;
    form.show();
    QApplication::processEvents();
    Form() = &form;
    benchmark::RegisterBenchmark("Sampling/Window", Window)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Sampling/Model", Model)->Unit(benchmark::kMillisecond);
    bench::BestTimes times;
    if (bench::Run(argc, argv, &times) != 0)
        return 1;
    if (const auto ratio =
            times.Ratio("Sampling/Model", "Sampling/Window/iterations:5/manual_time"))
        std::printf("window rate / model rate = %.2f (at least 0.25)\n", *ratio);
    return 0;
}
