#pragma once

#include <cstdint>

// The library's own generator: a linear congruential generator with 32-bit
// state and results 0 to 32767. It never reads the clock, so a run that makes
// the same calls on a fresh thread repeats exactly.

namespace population {

class RandomGenerator {
public:
    static constexpr int32_t kMaxResult = 32767;

    constexpr explicit RandomGenerator(uint32_t state = 1) : state_(state) {}

    int32_t NextRandom() {
        state_ = Advance(state_);
        return Result(state_);
    }

    // Bit i is set when the i-th of the next n draws (n at most 64) is below
    // `below`. The same draws as n calls of NextRandom, taken four at a time
    // from four interleaved strides of the sequence.
    uint64_t NextMask(int32_t below, int n) {
        uint64_t mask = 0;
        int i = 0;
        if (n >= 4) {
            uint32_t x0 = Advance(state_), x1 = Advance(x0), x2 = Advance(x1), x3 = Advance(x2);
            for (;;) {
                mask |= uint64_t(Result(x0) < below) << i |
                        uint64_t(Result(x1) < below) << (i + 1) |
                        uint64_t(Result(x2) < below) << (i + 2) |
                        uint64_t(Result(x3) < below) << (i + 3);
                i += 4;
                if (i + 4 > n)
                    break;
                x0 = x0 * kMultiplier4 + kIncrement4;
                x1 = x1 * kMultiplier4 + kIncrement4;
                x2 = x2 * kMultiplier4 + kIncrement4;
                x3 = x3 * kMultiplier4 + kIncrement4;
            }
            state_ = x3;
        }
        for (; i < n; ++i)
            mask |= uint64_t(NextRandom() < below) << i;
        return mask;
    }

private:
    static constexpr uint32_t kMultiplier = 214013u;
    static constexpr uint32_t kIncrement = 2531011u;
    // Four steps at once: x -> x * kMultiplier4 + kIncrement4 (modulo 2^32).
    static constexpr uint32_t kMultiplier4 = kMultiplier * kMultiplier * kMultiplier * kMultiplier;
    static constexpr uint32_t kIncrement4 =
        ((kIncrement * kMultiplier + kIncrement) * kMultiplier + kIncrement) * kMultiplier +
        kIncrement;

    static constexpr uint32_t Advance(uint32_t x) { return x * kMultiplier + kIncrement; }
    static constexpr int32_t Result(uint32_t x) { return int32_t((x >> 16) & 0x7FFF); }

    uint32_t state_;
};

// The uniform draw u of a result: in [0, 1], both ends included.
inline double Uniform(int32_t result) {
    return result * (1.0 / RandomGenerator::kMaxResult);
}

// The number of results whose uniform draw lies below p, so that "u < p" is
// "result < ResultsBelow(p)"; 0 for a NaN.
int32_t ResultsBelow(double p);

// The calling thread's generator, whose state is 1 on the thread's first draw.
RandomGenerator& ThreadGenerator();

} // namespace population
