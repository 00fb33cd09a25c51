#include "ChordMethods.h"

#include <algorithm>
#include <cmath>

namespace chordwise {

namespace {

Chord Between(Point from, Point to) {
    Chord c;
    c.from = from;
    c.to = to;
    return c;
}

// The constants as the method's formulas write them.
constexpr double kPi = 3.14159265358979;
constexpr double kHalfPi = 1.570796326794895;

Chord Shift(const std::function<double()>& u) {
    const double d = 2 * u() - 1;
    const double h = std::sqrt(1 - d * d);
    return Between({d, h}, {d, -h});
}

Chord Angle(const std::function<double()>& u) {
    const double a = u() * kPi - kHalfPi;
    const double t = std::tan(a);
    const double c = (1 - t * t) / (1 + t * t);
    const double s = t * (c + 1);
    return Between({-1, 0}, {c, s});
}

// The chord whose midpoint is uniform in the disc. A midpoint on the vertical
// axis takes the direction of its radius from its sign, and the centre the
// horizontal one (any diameter is the chord there), where the formula's
// arctan(my/mx) would divide by zero.
Chord Center(const std::function<double()>& u) {
    double mx, my;
    do {
        mx = 2 * u() - 1;
        my = 2 * u() - 1;
    } while (mx * mx + my * my > 1);
    const double m = std::sqrt(mx * mx + my * my);
    const double q = std::sqrt(1 - m * m);
    double theta;
    if (mx != 0)
        theta = std::atan(my / mx) + (mx < 0 ? kPi : 0);
    else
        theta = my > 0 ? kHalfPi : my < 0 ? -kHalfPi : 0;
    const double alpha = m > 0 ? std::atan(q / m) : kHalfPi;
    const double e = std::sqrt(m * m + q * q);
    Chord c = Between({e * std::cos(theta + alpha), e * std::sin(theta + alpha)},
                      {e * std::cos(theta - alpha), e * std::sin(theta - alpha)});
    c.dots = 1;
    c.dot[0] = {mx, my};
    return c;
}

// The line through two random points of the disc meets the circle at the chord's
// ends. Two identical points fix no line: a fresh pair is drawn, as for a point
// outside the disc.
Chord TwoPoints(const std::function<double()>& u) {
    double x1, y1, x2, y2, l;
    do {
        x1 = 2 * u() - 1;
        y1 = 2 * u() - 1;
        x2 = 2 * u() - 1;
        y2 = 2 * u() - 1;
        l = (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2);
    } while (x1 * x1 + y1 * y1 > 1 || x2 * x2 + y2 * y2 > 1 || l == 0);
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    const double dd = x1 * y2 - y1 * x2;
    // Rounding can take l - dd^2 below 0 for nearly identical points near the rim.
    const double s = std::sqrt(std::max(l - dd * dd, 0.0));
    Chord c = Between({(dx * s - dy * dd) / l, (dy * s + dx * dd) / l}, {(-dy * dd - dx * s) / l, (dx * dd - dy * s) / l});
    c.dots = 2;
    c.dot[0] = {x1, y1};
    c.dot[1] = {x2, y2};
    return c;
}

} // namespace

Chord DrawChord(int type, const std::function<double()>& u) {
    Chord c;
    switch (type) {
    case kRandomShift:
        c = Shift(u);
        break;
    case kRandomAngle:
        c = Angle(u);
        break;
    case kRandomCenter:
        c = Center(u);
        break;
    default:
        c = TwoPoints(u);
        break;
    }
    const double dx = c.to.x - c.from.x;
    const double dy = c.to.y - c.from.y;
    c.longer = dx * dx + dy * dy > 3;
    return c;
}

} // namespace chordwise
