#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace com {

// A 128-bit identifier of a class, interface or type library.
struct GUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
};

using CLSID = GUID;
using IID = GUID;

namespace detail {

constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace detail

// Reads the registry form "{8A238A74-CB77-4689-AED7-41B6B77EAA9D}" (braces
// required, either letter case); nothing on any other text.
constexpr std::optional<GUID> GuidFromString(std::string_view text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return std::nullopt;
    uint8_t bytes[16] = {};
    std::size_t pos = 1;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            if (text[pos] != '-')
                return std::nullopt;
            ++pos;
        }
        const int hi = detail::HexDigit(text[pos]);
        const int lo = detail::HexDigit(text[pos + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
        pos += 2;
    }
    GUID g;
    g.Data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
              bytes[3];
    g.Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    g.Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = bytes[8 + i];
    return g;
}

// For identifiers written in the source; a malformed literal does not compile.
consteval GUID MakeGuid(std::string_view text) {
    const auto g = GuidFromString(text);
    if (!g)
        throw "malformed identifier";
    return *g;
}

// The registry form, upper-case hexadecimal digits with braces.
std::string StringFromGUID(const GUID& g);

} // namespace com
