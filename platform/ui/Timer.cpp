#include "Timer.h"

#include <QPointer>
#include <algorithm>
#include <vector>

namespace platform {

namespace {

struct TimerState {
    std::vector<Timer*> live;
    bool held = false;
};

TimerState& State() {
    static TimerState state;
    return state;
}

} // namespace

Timer::Timer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { RunTick(); });
    State().live.push_back(this);
}

Timer::~Timer() {
    auto& live = State().live;
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    Apply(true);
}

void Timer::SetInterval(int milliseconds) {
    milliseconds = std::max(milliseconds, 0);
    if (milliseconds == interval_) {
        return;
    }
    interval_ = milliseconds;
    Apply(true);
}

int Timer::Tick(int count) {
    int ticks = 0;
    while (ticks < count && Ticking()) {
        ++ticks;
        if (!RunTick()) {
            break;
        }
    }
    return ticks;
}

bool Timer::RunTick() {
    // The handler may destroy the form that owns the timer.
    const QPointer<Timer> self(this);
    if (onTimer) {
        onTimer();
    }
    return !self.isNull();
}

void Timer::Apply(bool restart) {
    // A Qt timer of interval 0 would fire at every pass of the event loop.
    if (!Ticking() || State().held) {
        timer_.stop();
    } else if (restart || !timer_.isActive()) {
        timer_.start(interval_);
    }
}

void SetTimersHeld(bool held) {
    TimerState& state = State();
    state.held = held;
    for (Timer* timer : state.live) {
        timer->Apply(false);
    }
}

} // namespace platform
