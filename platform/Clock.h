#pragma once

#include <cstdint>

// The clocks the programs read: a monotonic millisecond count for waits and
// measured times, and the runtime's Timer (seconds since midnight) that seeds
// the random generator. Tests replace both with one fake clock.

namespace platform {

// Milliseconds since an arbitrary moment; never goes back, whatever happens to
// the wall clock.
int64_t MillisecondClock();

// Seconds since local midnight, as the runtime's Timer gives them.
float SecondsSinceMidnight();

// Replaces the clocks with `clock`, read in milliseconds: MillisecondClock gives
// its value and SecondsSinceMidnight its value modulo a day, in seconds. Null
// restores the real clocks.
void SetMillisecondClock(int64_t (*clock)());

// Whether a test clock is in place (a wait then does not block on real time).
bool HasTestClock();

} // namespace platform
