#include "DiagramRanges.h"

#include "Conversions.h"

#include <utility>

namespace bifurcal {

void DiagramRanges::ResetDefaults() {
    minX = -0.5;
    maxX = 1.5;
    minA = -2;
    maxA = 4;
}

void DiagramRanges::UpdateScales(int width, int height) {
    if (width > 0)
        aPerPixel = (maxA - minA) / width;
    if (height > 0)
        yPerPixel = (maxX - minX) / height;
}

void DiagramRanges::PanA(int direction) {
    const double d = (maxA - minA) / 5 * direction;
    minA += d;
    maxA += d;
}

void DiagramRanges::PanX(int direction) {
    const double d = (maxX - minX) / 5 * direction;
    minX += d;
    maxX += d;
}

void DiagramRanges::ZoomOut() {
    const double da = (maxA - minA) / 5;
    minA -= da;
    maxA += da;
    const double dx = (maxX - minX) / 5;
    minX -= dx;
    maxX += dx;
}

void DiagramRanges::ZoomToBand(int x1, int y1, int x2, int y2) {
    maxA = x2 * aPerPixel + minA;
    minA = x1 * aPerPixel + minA;
    minX = maxX - y2 * yPerPixel;
    maxX = maxX - y1 * yPerPixel;
}

void OrderRange(double& low, double& high) {
    if (low > high)
        std::swap(low, high);
    else if (low == high)
        high = low + 0.01;
}

int16_t IterationCount(double typed) {
    const double rounded = platform::RoundHalfEven(typed);
    if (!(rounded > 0))
        return 0;
    if (rounded > 32767)
        return 32767;
    return static_cast<int16_t>(rounded);
}

} // namespace bifurcal
