#pragma once

#include "Conversions.h"

#include <cstdint>

// The part of the parameter plane a bifurcation diagram shows: a from minA at
// the left canvas edge to maxA at the right, x from minX at the bottom edge to
// maxX at the top, and the size of one canvas pixel in each direction. Canvas
// pixels are counted from the top-left corner.

namespace bifurcal {

struct DiagramRanges {
    double minA = -2;
    double maxA = 4;
    double minX = -0.5;
    double maxX = 1.5;
    double aPerPixel = 0;
    double yPerPixel = 0;

    // The ranges of a new window; the scales are left alone.
    void ResetDefaults();
    // A scale changes only for a canvas side of at least one pixel.
    void UpdateScales(int width, int height);
    // Moves both ends by a fifth of the range: direction +1 right (or up), -1 left (or down).
    void PanA(int direction);
    void PanX(int direction);
    // Widens both ranges by a fifth of their width on each side; scales not updated.
    void ZoomOut();
    // The ranges of the canvas rectangle between the ordered corners (x1, y1) and
    // (x2, y2), from the current scales; scales not updated.
    void ZoomToBand(int x1, int y1, int x2, int y2);
};

// Puts a typed range in order: reversed ends are swapped, equal ends separated by 0.01.
void OrderRange(double& low, double& high);

// A typed iteration count: rounded half to even, negative values 0, values above
// the 16-bit range 32767.
int16_t IterationCount(double typed);

// The canvas row of x, rounded half to even; false when it lies outside rows
// 0 to height - 1 (or is not a number).
inline bool RowOf(double x, const DiagramRanges& ranges, int height, int& row) {
    const double at = (ranges.maxX - x) / ranges.yPerPixel;
    if (!(at > -1.0 && at < height))
        return false;
    row = platform::NearestInt(at);
    return row >= 0 && row < height;
}

// Partner colours of the zoom rectangle, in the 0x00BBGGRR form: black and blue,
// light grey and 0xC0C000, white and 0xFFFF00 swap; any other colour stays.
constexpr uint32_t BandPartner(uint32_t colour) {
    switch (colour) {
    case 0x000000:
        return 0xFF0000;
    case 0xFF0000:
        return 0x000000;
    case 0xC0C0C0:
        return 0xC0C000;
    case 0xC0C000:
        return 0xC0C0C0;
    case 0xFFFFFF:
        return 0xFFFF00;
    case 0xFFFF00:
        return 0xFFFFFF;
    default:
        return colour;
    }
}

} // namespace bifurcal
