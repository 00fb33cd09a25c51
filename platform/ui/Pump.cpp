#include "Pump.h"

#include <QCoreApplication>

namespace platform {

namespace {

struct PumpState {
    std::function<void()> hook;
    PumpClock::time_point (*clock)() = &PumpClock::now;
    PumpClock::time_point last{};
    bool pumped = false;
    uint64_t count = 0;
};

PumpState& State() {
    static PumpState state;
    return state;
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
    const PumpClock::time_point now = state.clock();
    if (!state.pumped || now - state.last >= kPumpInterval) {
        Pump(state, now);
    }
}

void DoEventsNow() {
    PumpState& state = State();
    Pump(state, state.clock());
}

void SetDoEventsHook(std::function<void()> hook) {
    State().hook = std::move(hook);
}

void SetPumpClock(PumpClock::time_point (*clock)()) {
    PumpState& state = State();
    state.clock = clock != nullptr ? clock : &PumpClock::now;
    state.pumped = false;
}

uint64_t PumpCount() {
    return State().count;
}

} // namespace platform
