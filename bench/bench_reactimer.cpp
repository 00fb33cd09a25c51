// How exact Reactimer's reaction times are, offscreen.
//
// KeyTiming: 1,000 trials of the test window's measurement. A key "lights"
// (the monotonic millisecond clock is read, as the test window reads it once
// the lit key is painted), and a key press is posted to the window a known
// time later (2 to 11 ms, by a precise timer); the window measures the time
// at its handling of the press, in whole milliseconds, as the test window
// does. The error is the measured time less the posting time, both from the
// moment the key lit; reported as its mean, its largest magnitude and the
// share within 1 ms.
//
// TimerTicks: the ticks of a repeating 1 ms timer in 1,000 ms of the monotonic
// clock while the event loop runs, idle and with 3 ms of work every tenth
// tick: the share of milliseconds a tick counter would count.

#include "BenchMain.h"
#include "Clock.h"
#include "Timer.h"
#include "Wait.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

class Receiver : public QWidget {
public:
    int64_t litAt = 0;
    Steady::time_point litTrue;
    Steady::time_point postedAt;
    int64_t measured = -1;

protected:
    void keyPressEvent(QKeyEvent*) override {
        measured = std::max<int64_t>(platform::MillisecondClock() - litAt, 0);
    }
};

void KeyTiming(benchmark::State& state) {
    Receiver receiver;
    receiver.show();
    QApplication::processEvents();
    for (auto _ : state) {
        constexpr int kTrials = 1000;
        double sum = 0;
        double worst = 0;
        int within = 0;
        for (int trial = 0; trial < kTrials; ++trial) {
            receiver.measured = -1;
            receiver.litAt = platform::MillisecondClock();
            receiver.litTrue = Steady::now();
            QTimer post;
            post.setSingleShot(true);
            post.setTimerType(Qt::PreciseTimer);
            QObject::connect(&post, &QTimer::timeout, [&receiver] {
                receiver.postedAt = Steady::now();
                QApplication::postEvent(&receiver,
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, "g"));
            });
            post.start(2 + trial % 10);
            while (receiver.measured < 0)
                QApplication::processEvents(QEventLoop::WaitForMoreEvents);
            const double known =
                std::chrono::duration<double, std::milli>(receiver.postedAt - receiver.litTrue).count();
            const double error = static_cast<double>(receiver.measured) - known;
            sum += error;
            worst = std::max(worst, std::fabs(error));
            within += std::fabs(error) <= 1.0 ? 1 : 0;
        }
        state.counters["mean_error_ms"] = sum / kTrials;
        state.counters["max_abs_error_ms"] = worst;
        state.counters["share_within_1ms"] = within / static_cast<double>(kTrials);
    }
}

void TimerTicks(benchmark::State& state) {
    const bool busy = state.range(0) != 0;
    for (auto _ : state) {
        platform::Timer timer;
        int64_t ticks = 0;
        timer.onTimer = [&ticks, busy] {
            if (busy && ++ticks % 10 == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(3));
            else if (!busy)
                ++ticks;
        };
        timer.SetInterval(1);
        const int64_t start = platform::MillisecondClock();
        platform::Wait(1000);
        const int64_t elapsed = platform::MillisecondClock() - start;
        timer.SetEnabled(false);
        state.counters["ticks_per_1000ms"] = static_cast<double>(ticks) * 1000.0 / static_cast<double>(elapsed);
        state.counters["ratio_ticks_to_ms"] = static_cast<double>(ticks) / static_cast<double>(elapsed);
    }
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("Reactimer/KeyTiming", KeyTiming)->Iterations(1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Reactimer/TimerTicks", TimerTicks)
        ->ArgName("busy")
        ->Arg(0)
        ->Arg(1)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    return bench::Run(argc, argv);
}
