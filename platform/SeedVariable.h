#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The seed that a variable of the environment fixes for a library's own
// generator (VERITOPE_PRNG_SEED, VERITOPE_NEURAL_SEED), read alike by every
// library that has one, so that a run can be repeated.

namespace platform {

// The seed written in text: a decimal whole number from 0 to 2^64 - 1,
// digits only (no sign, no spaces).
std::optional<uint64_t> ParseSeed(std::string_view text);

// The line reported for a value that holds no seed, naming the library and
// the variable; the value is echoed cut to a short line of its own.
std::string SeedRefusal(std::string_view library, std::string_view variable,
                        std::string_view value);

// The seed the variable holds; nothing when it is unset or empty, and
// nothing, with the refusal on standard error, when it holds no seed.
std::optional<uint64_t> SeedFromEnvironment(std::string_view library, const char* variable);

} // namespace platform
