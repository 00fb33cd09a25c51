#pragma once

#include <cstdint>

// Sounds of the programs.

namespace platform {

// The system beep.
void Beep();
// How many beeps were asked for since the start.
uint64_t BeepCount();

} // namespace platform
