#include "ChordMethods.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using chordwise::DrawChord;

// Draws from a list, in order.
struct Script {
    std::vector<double> draws;
    size_t next = 0;
    double operator()() { return draws.at(next++); }
};

double Length2(const chordwise::Chord& c) {
    return (c.to.x - c.from.x) * (c.to.x - c.from.x) + (c.to.y - c.from.y) * (c.to.y - c.from.y);
}

bool OnCircle(chordwise::Point p) {
    return std::abs(p.x * p.x + p.y * p.y - 1) < 1e-9;
}

TEST(Chords, EachMethodCountsLongerChordsByItsOwnRule) {
    for (int i = 0; i <= 100; ++i) {
        const double u = i / 100.0;
        Script s{{u}};
        const auto shift = DrawChord(chordwise::kRandomShift, std::ref(s));
        EXPECT_EQ(shift.longer, std::abs(2 * u - 1) < 0.5) << u;

        Script a{{u}};
        const auto angle = DrawChord(chordwise::kRandomAngle, std::ref(a));
        const double aa = u * 3.14159265358979 - 1.570796326794895;
        EXPECT_EQ(angle.longer, std::cos(2 * aa) > 0.5) << u;
        EXPECT_TRUE(OnCircle(angle.to)) << u;
    }
    // Exactly at |d| = 1/2 the squared length is 3: shorter.
    Script edge{{0.75}};
    EXPECT_FALSE(DrawChord(chordwise::kRandomShift, std::ref(edge)).longer);
    // u = 0 and u = 1 give a chord of length 0 at the circle's edge.
    for (const double u : {0.0, 1.0}) {
        Script s{{u}};
        const auto c = DrawChord(chordwise::kRandomShift, std::ref(s));
        EXPECT_EQ(Length2(c), 0);
        EXPECT_FALSE(c.longer);
    }
}

TEST(Chords, RandomCenterHasItsMidpointWhereDrawnAndHandlesTheAxis) {
    // (0.9, 0.9) lies outside the disc and is drawn again.
    for (const auto& [ux, uy] : {std::pair{0.6, 0.55}, {0.8, 0.5}, {0.5, 0.8}, {0.5, 0.2}, {0.5, 0.5}, {0.2, 0.7}}) {
        Script s{{0.95, 0.95, ux, uy}};
        const auto c = DrawChord(chordwise::kRandomCenter, std::ref(s));
        const double mx = 2 * ux - 1, my = 2 * uy - 1;
        EXPECT_EQ(s.next, 4u);
        EXPECT_NEAR((c.from.x + c.to.x) / 2, mx, 1e-9) << ux << "," << uy;
        EXPECT_NEAR((c.from.y + c.to.y) / 2, my, 1e-9) << ux << "," << uy;
        EXPECT_TRUE(OnCircle(c.from) && OnCircle(c.to));
        EXPECT_EQ(c.longer, mx * mx + my * my < 0.25);
        EXPECT_EQ(c.dots, 1);
    }
}

TEST(Chords, RandomTwoPointsMeetsTheCircleOnTheirLine) {
    // The second pair has a point outside; the third repeats one point twice.
    Script s{{0.95, 0.95, 0.5, 0.5, 0.6, 0.6, 0.6, 0.6, 0.25, 0.5, 0.75, 0.6}};
    const auto c = DrawChord(chordwise::kRandomTwoPoints, std::ref(s));
    EXPECT_EQ(s.next, 12u);
    EXPECT_TRUE(OnCircle(c.from) && OnCircle(c.to));
    // Both random points lie on the chord's line.
    for (int i = 0; i < 2; ++i) {
        const double cross = (c.to.x - c.from.x) * (c.dot[i].y - c.from.y) - (c.to.y - c.from.y) * (c.dot[i].x - c.from.x);
        EXPECT_NEAR(cross, 0, 1e-9);
    }
    EXPECT_EQ(c.dots, 2);
}

TEST(Chords, SharesOfLongerChordsMatchTheirMethods) {
    std::mt19937_64 engine(12345);
    std::uniform_real_distribution<double> uniform(0, 1);
    const double expected[] = {0.5, 1.0 / 3, 0.25, 1.0 / 3 + 3 * std::sqrt(3.0) / (4 * M_PI)};
    constexpr int kChords = 200000;
    for (int type = 0; type < 4; ++type) {
        int longer = 0;
        for (int i = 0; i < kChords; ++i)
            longer += DrawChord(type, [&] { return uniform(engine); }).longer;
        const double p = expected[type];
        const double standardError = std::sqrt(p * (1 - p) / kChords);
        EXPECT_NEAR(static_cast<double>(longer) / kChords, p, 4 * standardError) << "type " << type;
    }
}

} // namespace
