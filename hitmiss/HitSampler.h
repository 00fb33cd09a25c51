#pragma once

#include "RuntimeRandom.h"
#include "clsExpression.h"

#include <cstdint>

// The random points of a hit-or-miss integration and how each one counts: +1
// between the axis and the curve above the axis, -1 between them below it,
// 0 (a miss) anywhere else. The points come from the runtime's generator,
// never seeded: every new sampler draws the same sequence.

namespace hitmiss {

struct Point {
    double x;
    double y;
    int hit; // +1, -1 or 0
};

// How the point (x, y) counts against the function value f there. An undefined
// value is a large positive number, so it counts as a hit wherever y > 0.
constexpr int HitOf(double f, double y) {
    if (f > 0 && 0 < y && y < f)
        return 1;
    if (f <= 0 && f < y && y < 0)
        return -1;
    return 0;
}

// The box area times the signed share of hits: the estimate of the integral.
constexpr double Estimate(double lowerX, double upperX, double lowerY, double upperY,
                          double hitCount, double trialCount) {
    return (upperX - lowerX) * (hitCount / trialCount) * (upperY - lowerY);
}

class HitSampler {
public:
    // The next point of the box, x drawn before y, and how it counts.
    Point Next(expression::clsExpression& f, double lowerX, double upperX, double lowerY,
               double upperY) {
        const double x = lowerX + random_.Next() * (upperX - lowerX);
        const double y = lowerY + random_.Next() * (upperY - lowerY);
        return {x, y, HitOf(f.Value(x), y)};
    }

private:
    platform::RuntimeRandom random_;
};

} // namespace hitmiss
