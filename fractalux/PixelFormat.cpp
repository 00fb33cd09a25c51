#include "PixelFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace fractalux {

std::optional<PixelFormat> PixelFormat::FromCode(int32_t code) {
    switch (code) {
    case 20: // R8G8B8
        return PixelFormat(3, 8, 16, 8, 0);
    case 21: // A8R8G8B8
    case 22: // X8R8G8B8
        return PixelFormat(4, 8, 16, 8, 0);
    case 23: // R5G6B5
        return PixelFormat(2, 5, 11, 5, 0);
    case 24: // X1R5G5B5
    case 25: // A1R5G5B5
        return PixelFormat(2, 5, 10, 5, 0);
    case 26: // A4R4G4B4
    case 30: // X4R4G4B4
        return PixelFormat(2, 4, 8, 4, 0);
    case 27: // R3G3B2
        return PixelFormat(1, 2, 5, 2, 0);
    case 29: // A8R3G3B2
        return PixelFormat(2, 2, 5, 2, 0);
    default:
        return std::nullopt;
    }
}

void PixelFormat::SetColorOrder(int32_t a, int32_t b, int32_t c) {
    std::array<int32_t, 3> sorted = {firstShift_, secondShift_, thirdShift_};
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    auto pick = [&sorted](int32_t role, int32_t& shift) {
        if (role >= 0 && role <= 2) {
            shift = sorted[role];
        }
    };
    pick(a, firstShift_);
    pick(b, secondShift_);
    pick(c, thirdShift_);
}

uint32_t PixelFormat::Word(uint32_t first, uint32_t second, uint32_t third) const {
    return first << firstShift_ | second << secondShift_ | third << thirdShift_;
}

uint32_t PixelFormat::PixelColor(int32_t v, int32_t maxIts, int32_t colorCycles,
                                 bool newton) const {
    const int64_t d = int64_t{1} << channelBits_;
    const auto full = static_cast<uint32_t>(d - 1);
    if (newton && v >= 1 && v <= 3) {
        return Word(v == 1 ? full : 0, v == 2 ? full : 0, v == 3 ? full : 0);
    }
    if (v == 1 || v == 0) {
        return 0;
    }
    // The ramp position, truncated toward zero and taken modulo three channel ranges; a
    // negative cycle count runs the ramp backwards, and a ramp without a cap starts it.
    const double range = static_cast<double>(3 * d);
    double t = std::trunc(static_cast<double>(d) * colorCycles * 3.0 / maxIts * (v - 1));
    t = std::isfinite(t) ? std::fmod(t, range) : 0.0;
    if (t < 0) {
        t += range;
    }
    const auto p = static_cast<int64_t>(t);
    if (p < d) {
        return Word(static_cast<uint32_t>(d - 1 - p), 0, static_cast<uint32_t>(p));
    }
    if (p < 2 * d) {
        return Word(0, static_cast<uint32_t>(p - d), static_cast<uint32_t>(2 * d - 1 - p));
    }
    return Word(static_cast<uint32_t>(p - 2 * d), static_cast<uint32_t>(3 * d - 1 - p), 0);
}

} // namespace fractalux
