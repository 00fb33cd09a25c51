#pragma once

#include "Conversions.h"
#include "clsExpression.h"

#include <vector>

// The sampling box of a hit-or-miss integration: the function sampled across
// the interval once per window column, the vertical extent that holds every
// sample and y = 0 with margins, and the map from the box to window pixels.

namespace hitmiss {

struct Sample {
    double x;
    double f;
};

// Window column of x is x * xScale + xOffset, window row of y is y * yScale + yOffset.
struct PlotScales {
    double xScale = 0;
    double xOffset = 0;
    double yScale = 0;
    double yOffset = 0;
};

class PlotBox {
public:
    // Samples f at lowerX, lowerX + step, ... while x <= upperX, step being
    // (upperX - lowerX) / columns, at most columns + 1 times (an interval too
    // narrow for its place on the number line makes no progress). On success
    // the box spans every sample and 0, widened by a tenth of its span below and
    // then by a tenth of the widened span above; a box of a function that is 0
    // everywhere starts from -1 to 1. At the first undefined value it stops,
    // keeps that x in UndefinedAt() and leaves the box as it was.
    bool Scan(expression::clsExpression& f, double lowerX, double upperX, int columns);

    const std::vector<Sample>& Samples() const { return samples_; }
    double LowerY() const { return lowerY_; }
    double UpperY() const { return upperY_; }
    double UndefinedAt() const { return undefinedAt_; }

private:
    std::vector<Sample> samples_;
    double lowerY_ = 0;
    double upperY_ = 0;
    double undefinedAt_ = 0;
};

// The box [lowerX, upperX] x [lowerY, upperY] on the plot area of a window of
// innerWidth x innerHeight pixels right of a panel leftWidth wide and below a
// strip topHeight high: lowerX on the panel's right edge, upperX on the
// window's, lowerY on the bottom edge and upperY on the strip's lower edge.
PlotScales ScalesFor(double lowerX, double upperX, double lowerY, double upperY, int innerWidth,
                     int innerHeight, int leftWidth, int topHeight);

// A window coordinate to the nearest pixel, halves to even; values far outside
// any window are held at +-2^20, and NaN goes there too.
inline int PixelOf(double v) {
    constexpr double kFar = 1 << 20;
    if (!(v > -kFar))
        return -(1 << 20);
    if (v > kFar)
        return 1 << 20;
    return platform::NearestInt(v);
}

} // namespace hitmiss
