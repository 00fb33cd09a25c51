// The library's exports over its one generator.

#include "PRNG.h"

#include "Xoshiro256.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr const char* kSeedVariable = "VERITOPE_PRNG_SEED";

// The seed the environment fixes, if any; a value that is no decimal number in range is
// reported and ignored.
std::optional<uint64_t> SeedFromEnvironment() {
    const char* text = std::getenv(kSeedVariable);
    if (!text || !*text) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long long seed = std::strtoull(text, &end, 10);
    if (*text < '0' || *text > '9' || *end != '\0' || errno == ERANGE) {
        std::fprintf(stderr, "PRNG: %s=\"%s\" is not a whole number from 0 to %llu; ignored\n",
                     kSeedVariable, text, static_cast<unsigned long long>(UINT64_MAX));
        return std::nullopt;
    }
    return seed;
}

prng::Xoshiro256& Generator() {
    static prng::Xoshiro256 generator = [] {
        const std::optional<uint64_t> seed = SeedFromEnvironment();
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
