// Tosses per second of Flipwell's run of 10^8 tosses in its window (offscreen),
// against the toss loop alone: the same library calls counting heads, nothing else.

#include "BenchMain.h"
#include "PrngLibrary.h"
#include "ProgressBar.h"
#include "TextBox.h"
#include "frmFlipwell.h"

#include <QApplication>
#include <QPushButton>

namespace {

constexpr double kTosses = 1e8;

void TossLoopAlone(benchmark::State& state) {
    for (auto _ : state) {
        double heads = 0;
        for (double t = 1; t <= kTosses; t += 1)
            if (platform::PRNGOpenDouble() >= 0.5)
                heads += 1;
        benchmark::DoNotOptimize(heads);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kTosses));
}

void WindowRun(benchmark::State& state) {
    frmFlipwell form;
    form.show();
    for (auto _ : state) {
        form.txtTimes->setText("100000000");
        form.cmdToss->click();
        benchmark::DoNotOptimize(form.heads);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kTosses));
}

BENCHMARK(TossLoopAlone)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(WindowRun)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    platform::BindLibrary(platform::kPrngLibrary);
    return bench::Run(argc, argv);
}
