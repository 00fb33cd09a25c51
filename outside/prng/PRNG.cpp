// The library's exports over its one generator.

#include "PRNG.h"

#include "SeedVariable.h"
#include "Xoshiro256.h"

#include <optional>

namespace {

prng::Xoshiro256& Generator() {
    static prng::Xoshiro256 generator = [] {
        // A value that is no decimal number in range is reported and ignored.
        const std::optional<uint64_t> seed =
            platform::SeedFromEnvironment("PRNG", "VERITOPE_PRNG_SEED");
        return seed ? prng::Xoshiro256(*seed) : prng::Xoshiro256::FromEntropy();
    }();
    return generator;
}

} // namespace

double PRNGOpenDouble() {
    return prng::OpenUnit(Generator().Next());
}

double PRNGClosedDouble() {
    return prng::ClosedUnit(Generator().Next());
}

uint32_t PRNGUnsignedLong() {
    return prng::Word32(Generator().Next());
}

void PRNGSetSeed(uint64_t seed) {
    Generator() = prng::Xoshiro256(seed);
}
