#include "Xoshiro256.h"

#include <cerrno>
#include <random>
#include <sys/random.h>

namespace prng {

namespace {

uint64_t SplitMix64(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
}

// 64 bits from getrandom, or from the library's random device where that fails.
uint64_t EntropyWord() {
    uint64_t word = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(&word);
    size_t filled = 0;
    while (filled < sizeof word) {
        const ssize_t got = ::getrandom(bytes + filled, sizeof word - filled, 0);
        if (got > 0) {
            filled += static_cast<size_t>(got);
        } else if (got < 0 && errno != EINTR) {
            std::random_device device;
            return (uint64_t{device()} << 32) ^ device();
        }
    }
    return word;
}

} // namespace

Xoshiro256::Xoshiro256(uint64_t seed) {
    for (uint64_t& word : state_) {
        word = SplitMix64(seed);
    }
}

Xoshiro256 Xoshiro256::FromEntropy() {
    std::array<uint64_t, 4> state{};
    uint64_t any = 0;
    for (uint64_t& word : state) {
        word = EntropyWord();
        any |= word;
    }
    // The one state the generator cannot leave.
    return any ? Xoshiro256(state) : Xoshiro256(uint64_t{0});
}

} // namespace prng
