#pragma once

#include "Clock.h"

#include <bit>
#include <cstdint>

// The runtime's own uniform generator: a 24-bit linear congruential sequence
// whose values are the states divided by 2^24, in [0, 1). An unseeded generator
// starts from the same state in every run, so a program that never seeds it
// draws the same numbers at every start. Randomize seeds it the runtime's way:
// it replaces the middle 16 bits of the state by a mix of the seed's bits and
// keeps the lowest 8, so the same seed after different draws gives different
// sequences.

namespace platform {

class RuntimeRandom {
public:
    static constexpr uint32_t kInitialState = 0x50000;

    // The next number of the sequence, a multiple of 2^-24 in [0, 1).
    double Next() {
        state_ = (state_ * kMultiplier + kIncrement) & kMask;
        return static_cast<double>(state_) * kScale;
    }

    // Seeds from the time of day (the runtime's Timer, SecondsSinceMidnight),
    // through the bits of its single-precision value.
    void Randomize() { Mix(std::bit_cast<uint32_t>(SecondsSinceMidnight())); }
    // Seeds from a number, through the upper 32 bits of its double value.
    void Randomize(double seed) { Mix(static_cast<uint32_t>(std::bit_cast<uint64_t>(seed) >> 32)); }

    // For tests: the state as it stands, and setting it outright.
    uint32_t State() const { return state_; }
    void SetState(uint32_t state) { state_ = state & kMask; }

private:
    void Mix(uint32_t bits) {
        const uint32_t middle = ((bits & 0xFFFF) ^ (bits >> 16)) << 8;
        state_ = (state_ & 0xFF) | (middle & 0xFFFF00);
    }

    static constexpr uint32_t kMultiplier = 0x43FD43FD;
    static constexpr uint32_t kIncrement = 0xC39EC3;
    static constexpr uint32_t kMask = 0xFFFFFF;
    static constexpr double kScale = 1.0 / 16777216.0;

    uint32_t state_ = kInitialState;
};

} // namespace platform
