#pragma once

#include <array>
#include <cstdint>

namespace prng {

// xoshiro256** (Blackman and Vigna): 256 bits of state, period 2^256 - 1, 64-bit results whose
// every bit passes the usual statistical batteries.
class Xoshiro256 {
public:
    // The state a 64-bit seed expands to through splitmix64, the expansion the generator's
    // authors recommend; every seed gives a state that is not all zero.
    explicit Xoshiro256(uint64_t seed);

    // A state drawn from the operating system's entropy.
    static Xoshiro256 FromEntropy();

    uint64_t Next() {
        const uint64_t result = Rotl(state_[1] * 5, 7) * 9;
        const uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotl(state_[3], 45);
        return result;
    }

private:
    explicit Xoshiro256(const std::array<uint64_t, 4>& state) : state_(state) {}

    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::array<uint64_t, 4> state_;
};

// The three draws of the library from one 64-bit result. Both doubles take its 53 high bits k.

// (k + 1/2) / 2^53 rounded down to a double: in (0, 1), never 0 and never 1, 2^53 equally likely
// values of which exactly half are >= 0.5. Below one half the midpoints are exact; above it the
// doubles are 2^-53 apart, so each midpoint gives the double just below it, k / 2^53.
inline double OpenUnit(uint64_t bits) {
    const uint64_t k = bits >> 11;
    constexpr uint64_t kHalf = uint64_t{1} << 52;
    return k < kHalf ? static_cast<double>(2 * k + 1) * 0x1p-54 : static_cast<double>(k) * 0x1p-53;
}

// k / (2^53 - 1): in [0, 1] with both ends reachable.
inline double ClosedUnit(uint64_t bits) {
    return static_cast<double>(bits >> 11) / static_cast<double>((uint64_t{1} << 53) - 1);
}

// The 32 high bits.
inline uint32_t Word32(uint64_t bits) {
    return static_cast<uint32_t>(bits >> 32);
}

} // namespace prng
