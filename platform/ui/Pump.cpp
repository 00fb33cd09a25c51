#include "Pump.h"

#include <QCoreApplication>
#include <time.h>

namespace platform {

namespace {

struct PumpState {
    std::function<void()> hook;
    // A test clock, read on every call; null for the real clocks.
    PumpClock::time_point (*clock)() = nullptr;
    // A test stand-in for the coarse clock and its tick; null for the kernel's.
    PumpClock::time_point (*coarse)() = nullptr;
    PumpClock::duration coarseTick{};
    PumpClock::time_point last{};
    bool pumped = false;
    uint64_t count = 0;
};

PumpState& State() {
    static PumpState state;
    return state;
}

// The kernel's coarse monotonic clock: the steady clock's time as of its last
// tick, read in a few nanoseconds. It never runs ahead of the steady clock and
// lags it by less than a tick.
PumpClock::time_point CoarseNow() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return PumpClock::time_point(std::chrono::duration_cast<PumpClock::duration>(
        std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec)));
}

// max() when the kernel has no coarse clock.
PumpClock::duration CoarseTick() {
    static const PumpClock::duration tick = [] {
        timespec resolution{};
        if (::clock_getres(CLOCK_MONOTONIC_COARSE, &resolution) != 0)
            return PumpClock::duration::max();
        return std::chrono::duration_cast<PumpClock::duration>(
            std::chrono::seconds(resolution.tv_sec) + std::chrono::nanoseconds(resolution.tv_nsec));
    }();
    return tick;
}

PumpClock::time_point Now(const PumpState& state) {
    return state.clock != nullptr ? state.clock() : PumpClock::now();
}

// Whether kPumpInterval has passed since the last pump, by the steady clock (or
// the test clock), with `now` its time. Calls that the coarse clock shows to be
// too early are settled without reading the steady clock, which costs more
// than a step of a fast loop.
bool Due(const PumpState& state, PumpClock::time_point& now) {
    if (state.pumped) {
        if (state.coarse != nullptr) {
            if (state.coarseTick < kPumpInterval &&
                state.coarse() + state.coarseTick - state.last <= kPumpInterval)
                return false;
        } else if (state.clock == nullptr && CoarseTick() < kPumpInterval &&
                   CoarseNow() + CoarseTick() - state.last <= kPumpInterval) {
            return false;
        }
    }
    now = Now(state);
    return !state.pumped || now - state.last >= kPumpInterval;
}

void Pump(PumpState& state, PumpClock::time_point now) {
    state.last = now;
    state.pumped = true;
    ++state.count;
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents();
    }
}

} // namespace

void DoEvents() {
    PumpState& state = State();
    if (state.hook) {
        // A copy, so that the hook may replace or remove itself.
        const std::function<void()> hook = state.hook;
        hook();
    }
    PumpClock::time_point now;
    if (Due(state, now)) {
        Pump(state, now);
    }
}

void DoEventsNow() {
    PumpState& state = State();
    Pump(state, Now(state));
}

bool PumpDue() {
    PumpClock::time_point now;
    return Due(State(), now);
}

void SetDoEventsHook(std::function<void()> hook) {
    State().hook = std::move(hook);
}

void SetPumpClock(PumpClock::time_point (*clock)()) {
    SetPumpClocks(clock, nullptr, {});
}

void SetPumpClocks(PumpClock::time_point (*clock)(), PumpClock::time_point (*coarse)(),
                   PumpClock::duration coarseTick) {
    PumpState& state = State();
    state.clock = clock;
    state.coarse = coarse;
    state.coarseTick = coarseTick;
    state.pumped = false;
}

uint64_t PumpCount() {
    return State().count;
}

} // namespace platform
