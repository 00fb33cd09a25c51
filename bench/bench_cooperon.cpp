// Generations per second of Cooperon's timer-driven run with 64 members, in
// an offscreen window with every picture drawn, beside the Population
// library's own Step with the same settings in the same process. The timer
// asks for a generation every millisecond: the window must deliver at least
// 500 a second. At the largest settings the dialog allows, one tick must take
// well under a second (at most 250 ms).

#include "BenchMain.h"
#include "PopulationLibrary.h"
#include "SettingsRules.h"
#include "frmCooperon.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace {

constexpr int kGenerationsPerRun = 250;

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_cooperon";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        bench::UseOffscreenPlatform();
        return new QApplication(argc, argv);
    }();
    return *app;
}

std::unique_ptr<frmCooperon> ShownWindow() {
    App();
    auto form = std::make_unique<frmCooperon>();
    form->show();
    QApplication::processEvents();
    return form;
}

// The library alone, set up as Cooperon sets it up at load.
void BM_LibraryStep(benchmark::State& state) {
    using namespace cooperon;
    Initialize_();
    NewPop_(64);
    SetPayoffs_(1, 0, 20, 10);
    SetRepParams_(1.0 / 70, 2.0 / 70);
    SetGameParams_(50, 4);
    Reset_();
    for (auto _ : state)
        Step_();
    state.counters["gens/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    Finalize_();
}
BENCHMARK(BM_LibraryStep)->Unit(benchmark::kMicrosecond);

// One timer tick's work, called directly: Step, the statistics, the order
// and both pictures.
void BM_CooperonTick(benchmark::State& state) {
    const auto form = ShownWindow();
    for (auto _ : state)
        form->timEvolve_Timer();
    QApplication::processEvents();
    state.counters["gens/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CooperonTick)->Unit(benchmark::kMicrosecond);

// One timer tick at the largest settings the settings dialog allows: the
// largest population, the most games in a series and series in a generation.
// The window waits for the whole tick; it must stay well under a second.
void BM_CooperonTickAtTheLimits(benchmark::State& state) {
    using namespace cooperon;
    const auto form = ShownWindow();
    SetGameParams_(kMaxGames, kMaxSessions);
    SetSize_(kMaxPopulation);
    form->timEvolve_Timer(); // the new size comes with this generation
    if (GetSize_() != kMaxPopulation)
        state.SkipWithError("the population did not grow");
    for (auto _ : state)
        form->timEvolve_Timer();
    QApplication::processEvents();
}
BENCHMARK(BM_CooperonTickAtTheLimits)->Unit(benchmark::kMillisecond)->UseRealTime();

// The run as a user starts it: Go, then the 1 ms timer breeds and draws
// until kGenerationsPerRun generations have passed, the screen updated as
// the window system asks.
void BM_CooperonTimerRun(benchmark::State& state) {
    const auto form = ShownWindow();
    QEventLoop loop;
    int ticks = 0;
    QObject::connect(form->timEvolve, &QTimer::timeout, &loop, [&] {
        if (++ticks == kGenerationsPerRun)
            loop.quit();
    });
    for (auto _ : state) {
        ticks = 0;
        form->cmdGo->click();
        loop.exec();
        form->cmdGo->click();
    }
    state.counters["gens/s"] = benchmark::Counter(double(kGenerationsPerRun) * state.iterations(),
                                                  benchmark::Counter::kIsRate);
    if (form->Generation() < kGenerationsPerRun)
        state.SkipWithError("the timer did not run");
}
BENCHMARK(BM_CooperonTimerRun)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
