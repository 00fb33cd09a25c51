#pragma once

#include <functional>

// Random chords of the unit circle centred at the origin, by four methods, each
// drawing uniform numbers u in [0, 1] in a fixed order. A chord is longer than
// the side of the inscribed equilateral triangle when its squared length
// exceeds 3.

namespace chordwise {

enum ChordType { kRandomShift = 0, kRandomAngle = 1, kRandomCenter = 2, kRandomTwoPoints = 3 };

struct Point {
    double x = 0;
    double y = 0;
};

struct Chord {
    Point from;
    Point to;
    // The points drawn as dots: the midpoint (random center) or the two random
    // points (random two points).
    int dots = 0;
    Point dot[2];
    bool longer = false;
};

// One chord of the given type; u() is called for each uniform number.
Chord DrawChord(int type, const std::function<double()>& u);

} // namespace chordwise
