#include "SeedVariable.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

// How much of a refused value is echoed.
constexpr size_t kEchoedBytes = 40;

} // namespace

std::optional<uint64_t> ParseSeed(std::string_view text) {
    uint64_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seed, 10);
    if (text.empty() || error != std::errc{} || stop != end)
        return std::nullopt;
    return seed;
}

std::string SeedRefusal(std::string_view library, std::string_view variable,
                        std::string_view value) {
    size_t echoed = 0;
    while (echoed < value.size() && echoed < kEchoedBytes &&
           static_cast<unsigned char>(value[echoed]) >= 0x20 && value[echoed] != 0x7F)
        ++echoed;
    std::string line(library);
    line += ": ";
    line += variable;
    line += "=\"";
    line += value.substr(0, echoed);
    if (echoed < value.size())
        line += "...";
    line += "\" is not a whole number from 0 to " + std::to_string(UINT64_MAX) + "; ignored\n";
    return line;
}

std::optional<uint64_t> SeedFromEnvironment(std::string_view library, const char* variable) {
    const char* text = std::getenv(variable);
    if (!text || !*text)
        return std::nullopt;
    const std::optional<uint64_t> seed = ParseSeed(text);
    if (!seed)
        std::fputs(SeedRefusal(library, variable, text).c_str(), stderr);
    return seed;
}

} // namespace platform
