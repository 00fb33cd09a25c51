#pragma once

#include <cstdint>

// The runtime's own uniform generator: a 24-bit linear congruential sequence
// whose values are the states divided by 2^24, in [0, 1). An unseeded generator
// starts from the same state in every run, so a program that never seeds it
// draws the same numbers at every start.

namespace platform {

class RuntimeRandom {
public:
    static constexpr uint32_t kInitialState = 0x50000;

    // The next number of the sequence, a multiple of 2^-24 in [0, 1).
    double Next() {
        state_ = (state_ * kMultiplier + kIncrement) & kMask;
        return static_cast<double>(state_) * kScale;
    }

    uint32_t State() const { return state_; }
    void SetState(uint32_t state) { state_ = state & kMask; }

private:
    static constexpr uint32_t kMultiplier = 0x43FD43FD;
    static constexpr uint32_t kIncrement = 0xC39EC3;
    static constexpr uint32_t kMask = 0xFFFFFF;
    static constexpr double kScale = 1.0 / 16777216.0;

    uint32_t state_ = kInitialState;
};

} // namespace platform
