#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

// The message pump of the cooperative loops. DoEvents lets pending window messages
// run, but hands control to Qt at most once per kPumpInterval, so a loop may call
// it on every step and still run at the speed of its model while Stop and Cancel
// answer within a few milliseconds. The first call always pumps.

namespace platform {

using PumpClock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kPumpInterval{5};

void DoEvents();
// Lets pending messages run now, whatever the interval.
void DoEventsNow();
// Whether the next DoEvents will hand control to Qt, so that a loop whose
// window shows its model can bring the controls up to date just before
// messages run (a repaint or a handler sees them current) and not on every step.
bool PumpDue();

// Test hooks. The hook runs at the start of every DoEvents call (e.g. to press
// Stop after n steps); null removes it.
void SetDoEventsHook(std::function<void()> hook);
// Replaces the clock the throttle reads; null restores the steady clock.
void SetPumpClock(PumpClock::time_point (*clock)());
// Replaces both clocks the throttle reads: the exact one, and the coarse one that
// lags it by less than coarseTick and settles early calls cheaply. Null for
// both restores the real clocks.
void SetPumpClocks(PumpClock::time_point (*clock)(), PumpClock::time_point (*coarse)(),
                   PumpClock::duration coarseTick);
// How often control went to Qt since the start.
uint64_t PumpCount();

} // namespace platform
