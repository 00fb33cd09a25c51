// Pegfall's full-speed loop in an offscreen window against the bare ball loop
// of library calls.
//
// Window: Go in an offscreen frmPegfall at speed 4 without animation and with
// 30 levels, stopped by a timer after kRunTime as a user would stop it; each
// ball is one tick (30 draws, counted, the chart redrawn every 5000 balls)
// followed by a pass of the pump. Library: the same balls from the library's
// PRNGOpenDouble called through its bound address, counted into bins, nothing
// else. The window must keep at least half the library loop's rate; the share
// is printed at the end.

#include "BenchMain.h"
#include "PrngLibrary.h"
#include "Slider.h"
#include "TextBox.h"
#include "frmPegfall.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Times are per kBalls balls, the window's scaled from its runs of kRunTime.
constexpr int kBalls = 1 << 18;
constexpr int kLevels = 30;
constexpr std::chrono::milliseconds kRunTime{300};

frmPegfall*& Form() {
    static frmPegfall* form = nullptr;
    return form;
}

void Window(benchmark::State& state) {
    frmPegfall& form = *Form();
    double balls = 0;
    for (auto _ : state) {
        form.cmdClean->click();
        QTimer::singleShot(kRunTime, form.cmdGo, [&form] { form.cmdGo->click(); });
        const auto start = std::chrono::steady_clock::now();
        form.cmdGo->click();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        const double total = static_cast<double>(form.Board().Total());
        balls += total;
        state.SetIterationTime(elapsed.count() / total * kBalls);
    }
    state.SetItemsProcessed(state.iterations() * kBalls);
    state.counters["balls"] = balls;
}

void Library(benchmark::State& state) {
    double (*const draw)() = platform::prng_binding::OpenDouble.Bound();
    std::vector<uint64_t> bins(kLevels + 1);
    uint64_t total = 0;
    for (auto _ : state) {
        for (int ball = 0; ball < kBalls; ++ball) {
            int right = 0;
            for (int row = 0; row < kLevels; ++row)
                right += draw() >= 0.5;
            ++bins[right];
            ++total;
        }
        benchmark::DoNotOptimize(bins.data());
    }
    benchmark::DoNotOptimize(total);
    state.SetItemsProcessed(state.iterations() * kBalls);
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    frmPegfall form;
    form.show();
    form.txtPegs->setText(QString::number(kLevels));
    form.chkAnimate->setChecked(false);
    form.sldSpeed->SetValue(4);
    QApplication::processEvents();
    Form() = &form;
    // Both loops draw from the library, bound before either runs.
    platform::BindLibrary(platform::kPrngLibrary);
    benchmark::RegisterBenchmark("FullSpeed/Window", Window)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FullSpeed/Library", Library)->Unit(benchmark::kMillisecond);
    bench::BestTimes times;
    if (bench::Run(argc, argv, &times) != 0)
        return 1;
    if (const auto ratio =
            times.Ratio("FullSpeed/Library", "FullSpeed/Window/iterations:5/manual_time"))
        std::printf("window rate / library rate = %.2f (at least 0.5)\n", *ratio);
    return 0;
}
