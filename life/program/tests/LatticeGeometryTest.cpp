// Tests of the board geometry: cell polygons on the three lattices, the hit
// test, the repaint range, the drawing guard and clipping, and the view
// arithmetic of zooming, scrolling and fitting.

#include "LatticeGeometry.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using lifeboard::BoardRect;
using lifeboard::CellPolygon;
using lifeboard::CellPos;
using lifeboard::LatticeKind;
using lifeboard::PatternBounds;
using lifeboard::PixelPoint;
using lifeboard::View;

std::vector<PixelPoint> Points(const CellPolygon& p) {
    return {p.points.begin(), p.points.begin() + p.count};
}

constexpr LatticeKind kLattices[] = {LatticeKind::kSquare, LatticeKind::kHexagonal,
                                     LatticeKind::kTriangular};

TEST(LatticeGeometryTest, NeighbourCountsSelectTheLattice) {
    EXPECT_EQ(lifeboard::LatticeOf(4), LatticeKind::kSquare);
    EXPECT_EQ(lifeboard::LatticeOf(8), LatticeKind::kSquare);
    EXPECT_EQ(lifeboard::LatticeOf(6), LatticeKind::kHexagonal);
    EXPECT_EQ(lifeboard::LatticeOf(3), LatticeKind::kTriangular);
    EXPECT_EQ(lifeboard::LatticeOf(12), LatticeKind::kTriangular);
    EXPECT_EQ(lifeboard::LatticeOf(5), LatticeKind::kSquare);
}

TEST(LatticeGeometryTest, SquarePolygonAndItsSmallCellShrink) {
    const View view{10, 5, 7};
    EXPECT_EQ(Points(lifeboard::CellPolygonAt(LatticeKind::kSquare, view, 1, -2)),
              (std::vector<PixelPoint>{{15, -43}, {15, -23}, {35, -23}, {35, -43}}));
    EXPECT_EQ(Points(lifeboard::CellPolygonAt(LatticeKind::kSquare, view, 1, -2, true)),
              Points(lifeboard::CellPolygonAt(LatticeKind::kSquare, view, 1, -2)))
        << "cells of z >= 4 keep their size";
    const View small{3, 0, 0};
    EXPECT_EQ(Points(lifeboard::CellPolygonAt(LatticeKind::kSquare, small, 1, 0, true)),
              (std::vector<PixelPoint>{{3, -3}, {3, 2}, {8, 2}, {8, -3}}));
}

TEST(LatticeGeometryTest, HexagonsOfOddColumnsSitHalfARowHigherAndShareEdges) {
    const View view{10, 0, 0};
    const auto even = Points(lifeboard::CellPolygonAt(LatticeKind::kHexagonal, view, 0, 0));
    const auto odd = Points(lifeboard::CellPolygonAt(LatticeKind::kHexagonal, view, 1, 0));
    EXPECT_EQ(even, (std::vector<PixelPoint>{
                        {20, 0}, {10, 17}, {-10, 17}, {-20, 0}, {-10, -17}, {10, -17}}));
    // Centre y = nearest(-17.32) = -17; the other rows are rounded from it.
    EXPECT_EQ(odd, (std::vector<PixelPoint>{
                       {50, -17}, {40, 0}, {20, 0}, {10, -17}, {20, -34}, {40, -34}}));
    EXPECT_EQ(lifeboard::CellCentre(LatticeKind::kHexagonal, view, -1, 0).y, -17)
        << "the parity is taken on abs(x)";
    EXPECT_EQ(lifeboard::CellCentre(LatticeKind::kHexagonal, view, 2, 1), (PixelPoint{60, 35}));
}

TEST(LatticeGeometryTest, TrianglesAlternateAndShareEdges) {
    const View view{10, 0, 0};
    const auto up = Points(lifeboard::CellPolygonAt(LatticeKind::kTriangular, view, 0, 0));
    const auto down = Points(lifeboard::CellPolygonAt(LatticeKind::kTriangular, view, 1, 0));
    EXPECT_EQ(up, (std::vector<PixelPoint>{{0, -20}, {17, 10}, {-17, 10}}));
    // Centre x = nearest(17.32) = 17; the corners are rounded from it.
    EXPECT_EQ(down, (std::vector<PixelPoint>{{17, 10}, {34, -20}, {0, -20}}));
    // The edge from the apex of (0, 0) to its right corner is the left edge of (1, 0).
    EXPECT_EQ(up[0], down[2]);
    EXPECT_EQ(up[1], down[0]);
    EXPECT_EQ(Points(lifeboard::CellPolygonAt(LatticeKind::kTriangular, view, -1, -1)).front(),
              (PixelPoint{-17, -50}))
        << "abs(x) + abs(y) even: apex up";
}

TEST(LatticeGeometryTest, PolygonsOfFarCellsDoNotOverflow) {
    const View view{1000, INT32_MAX, INT32_MIN};
    for (const LatticeKind lattice : kLattices) {
        const CellPolygon p = lifeboard::CellPolygonAt(lattice, view, INT32_MAX, INT32_MIN);
        for (const PixelPoint& q : Points(p)) {
            EXPECT_GT(q.x, 1e12);
            EXPECT_LT(q.y, -1e12);
        }
        EXPECT_FALSE(
            lifeboard::CellVisible(lattice, view, INT32_MAX, INT32_MIN, BoardRect{0, 0, 800, 600}));
    }
}

TEST(HitTestTest, HalfWayBetweenTwoSquaresGoesToTheEvenCell) {
    const View view{10, 0, 0};
    EXPECT_EQ(lifeboard::CellAtPixel(LatticeKind::kSquare, view, 10, 30), (CellPos{0, 2}));
    EXPECT_EQ(lifeboard::CellAtPixel(LatticeKind::kSquare, view, 30, -10), (CellPos{2, 0}));
    EXPECT_EQ(lifeboard::CellAtPixel(LatticeKind::kSquare, view, -30, 9), (CellPos{-2, 0}));
    EXPECT_EQ(lifeboard::CellAtPixel(LatticeKind::kSquare, view, 11, 31), (CellPos{1, 2}));
}

TEST(HitTestTest, FindsTheCellAtTheCentreOfRandomCells) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int32_t> zs(1, 40);
    std::uniform_int_distribution<int32_t> offsets(-100000, 100000);
    std::uniform_int_distribution<int32_t> cells(-1000000, 1000000);
    for (const LatticeKind lattice : kLattices) {
        for (int i = 0; i < 20000; ++i) {
            const View view{zs(rng), offsets(rng), offsets(rng)};
            const CellPos cell{cells(rng), cells(rng)};
            const PixelPoint c = lifeboard::CellCentre(lattice, view, cell.x, cell.y);
            ASSERT_EQ(lifeboard::CellAtPixel(lattice, view, static_cast<int32_t>(c.x),
                                             static_cast<int32_t>(c.y)),
                      cell)
                << "lattice " << static_cast<int>(lattice) << " z " << view.z;
        }
    }
}

TEST(HitTestTest, PixelsBeyondThePlaneFindNoCell) {
    const View view{1, INT32_MIN, 0};
    EXPECT_EQ(lifeboard::CellAtPixel(LatticeKind::kSquare, view, INT32_MAX, 0), std::nullopt);
    EXPECT_EQ(lifeboard::CellAtPixel(LatticeKind::kSquare, view, 0, 0), (CellPos{1073741824, 0}));
    EXPECT_EQ(lifeboard::CellAtPixel(LatticeKind::kSquare, View{0, 0, 0}, 5, 5), std::nullopt);
}

TEST(VisibleRangeTest, CoversEveryCellThatMeetsTheWindow) {
    EXPECT_EQ(lifeboard::VisibleCells(LatticeKind::kSquare, View{10, 0, 0}, 100, 50).x.first, -1);
    EXPECT_EQ(lifeboard::VisibleCells(LatticeKind::kSquare, View{10, 0, 0}, 100, 50).x.last, 7);
    EXPECT_EQ(lifeboard::VisibleCells(LatticeKind::kSquare, View{10, 0, 0}, 100, 50).y.last, 4)
        << "nearest(4.5) is 4";

    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> zs(1, 12);
    std::uniform_int_distribution<int32_t> offsets(-500, 500);
    const int32_t width = 97;
    const int32_t height = 61;
    const BoardRect window{0, 0, width, height};
    for (const LatticeKind lattice : kLattices) {
        for (int i = 0; i < 300; ++i) {
            const View view{zs(rng), offsets(rng), offsets(rng)};
            const auto range = lifeboard::VisibleCells(lattice, view, width, height);
            for (int32_t x = range.x.first - 20; x <= range.x.last + 20; ++x)
                for (int32_t y = range.y.first - 20; y <= range.y.last + 20; ++y)
                    if (lifeboard::CellVisible(lattice, view, x, y, window)) {
                        ASSERT_GE(x, range.x.first);
                        ASSERT_LE(x, range.x.last);
                        ASSERT_GE(y, range.y.first);
                        ASSERT_LE(y, range.y.last);
                    }
        }
    }
}

TEST(VisibleRangeTest, ClampsToThePlane) {
    const auto range =
        lifeboard::VisibleCells(LatticeKind::kSquare, View{1, INT32_MIN, 0}, INT32_MAX, INT32_MAX);
    EXPECT_EQ(range.x.first, 1073741823);
    EXPECT_EQ(range.x.last, INT32_MAX);
}

TEST(DrawingGuardTest, DrawsExactlyTheCellsWhoseBoxMeetsTheBoard) {
    const View view{10, 0, 0};
    const BoardRect board{0, 30, 200, 100}; // pixels 0..199 x 30..129
    // Square (0, 1) spans y 10..30: its bottom row is the board's first.
    EXPECT_TRUE(lifeboard::CellVisible(LatticeKind::kSquare, view, 0, 1, board));
    EXPECT_FALSE(lifeboard::CellVisible(LatticeKind::kSquare, view, 0, 0, board));
    EXPECT_TRUE(lifeboard::CellVisible(LatticeKind::kSquare, view, 0, 3, board));
    EXPECT_FALSE(lifeboard::CellVisible(LatticeKind::kSquare, view, -1, 3, board));
    // Square (10, 3) spans x 190..210.
    EXPECT_TRUE(lifeboard::CellVisible(LatticeKind::kSquare, view, 10, 3, board));
    EXPECT_FALSE(lifeboard::CellVisible(LatticeKind::kSquare, view, 11, 3, board));
    // y is a cell number, not a pixel: a cell far down is not drawn, one in view is.
    EXPECT_FALSE(lifeboard::CellVisible(LatticeKind::kSquare, view, 1, 200, board));
    EXPECT_TRUE(lifeboard::CellVisible(LatticeKind::kSquare, View{10, 0, -3970}, 1, 200, board));
    EXPECT_FALSE(lifeboard::CellVisible(LatticeKind::kSquare, View{0, 0, 0}, 0, 0, board));
    EXPECT_FALSE(
        lifeboard::CellVisible(LatticeKind::kSquare, view, 0, 3, BoardRect{0, 30, 0, 100}));
}

TEST(DrawingGuardTest, CellsNearThePlaneLimitsAreDrawnWhereTheViewShowsThem) {
    const BoardRect board{0, 0, 300, 300};
    // Cell 1073741823 sits at pixel 100 under this offset; 200 cells on it is off the board.
    const View near{1, -2 * (INT32_MAX / 2 - 50), 0};
    EXPECT_TRUE(lifeboard::CellVisible(LatticeKind::kSquare, near, INT32_MAX / 2, 0, board));
    EXPECT_FALSE(lifeboard::CellVisible(LatticeKind::kSquare, near, INT32_MAX / 2 + 200, 0, board));
    // Far rows on triangles: row y sits at 3y + oy.
    const View low{1, 0, -3 * 700000000 + 150};
    EXPECT_TRUE(lifeboard::CellVisible(LatticeKind::kTriangular, low, 0, 700000000, board));
    EXPECT_FALSE(lifeboard::CellVisible(LatticeKind::kTriangular, low, 0, 700000100, board));
    EXPECT_FALSE(lifeboard::CellVisible(LatticeKind::kHexagonal, low, INT32_MIN, INT32_MAX, board));
}

TEST(DrawingGuardTest, HugeCellsAreClippedToTheBoardAndSmallOnesKeptExact) {
    const BoardRect board{0, 0, 400, 300};
    lifeboard::DrawnPoints out{};
    const CellPolygon small =
        lifeboard::CellPolygonAt(LatticeKind::kHexagonal, View{10, 50, 50}, 1, 1);
    ASSERT_EQ(lifeboard::DrawablePolygon(small, board, out), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(out[i].x, small.points[i].x);
        EXPECT_EQ(out[i].y, small.points[i].y);
    }
    for (const LatticeKind lattice : kLattices) {
        const View huge{INT32_MAX / 4, 200, 150};
        const CellPolygon p = lifeboard::CellPolygonAt(lattice, huge, 0, 0);
        ASSERT_TRUE(lifeboard::MeetsBoard(p, board));
        const int n = lifeboard::DrawablePolygon(p, board, out);
        ASSERT_GE(n, 3);
        for (int i = 0; i < n; ++i) {
            EXPECT_GE(out[i].x, -lifeboard::kClipMargin);
            EXPECT_LE(out[i].x, 399 + lifeboard::kClipMargin);
            EXPECT_GE(out[i].y, -lifeboard::kClipMargin);
            EXPECT_LE(out[i].y, 299 + lifeboard::kClipMargin);
        }
    }
    // A huge square covering the board clips to the grown board exactly.
    const CellPolygon square =
        lifeboard::CellPolygonAt(LatticeKind::kSquare, View{1 << 30, 0, 0}, 0, 0);
    ASSERT_EQ(lifeboard::DrawablePolygon(square, board, out), 4);
    std::set<std::pair<int32_t, int32_t>> corners;
    for (int i = 0; i < 4; ++i)
        corners.emplace(out[i].x, out[i].y);
    EXPECT_EQ(corners, (std::set<std::pair<int32_t, int32_t>>{
                           {-64, -64}, {-64, 363}, {463, -64}, {463, 363}}));
}

TEST(ZoomTest, ZoomingOutAtSizeOneLeavesTheView) {
    const View view{1, 37, -13};
    EXPECT_EQ(lifeboard::ZoomBy(view, -1, 400, 300), view);
}

TEST(ZoomTest, KeepsTheBoardCentreAndSnapsOffsetsTowardZero) {
    // ox = nearest(200 - 200 * 11 / 10) = -20, snapped to -11, not -22;
    // oy = nearest(150 - 150 * 11 / 10) = -15, snapped to -11.
    EXPECT_EQ(lifeboard::ZoomBy(View{10, 0, 0}, +1, 400, 300), (View{11, -11, -11}));
    // Positive offsets: ox = nearest(200 - 150 * 9 / 10) = 65 -> 63; oy = 150 - 120 * 0.9 = 42
    // -> 36.
    EXPECT_EQ(lifeboard::ZoomBy(View{10, 50, 30}, -1, 400, 300), (View{9, 63, 36}));
    // The plane point under the centre moves by less than one new cell.
    for (int32_t z = 1; z < 40; ++z) {
        const View before{z, -1234, 987};
        const View after = lifeboard::ZoomBy(before, +1, 640, 480);
        ASSERT_EQ(after.z, z + 1);
        const double planeBefore = (320.0 - before.ox) / before.z;
        const double planeAfter = (320.0 - after.ox) / after.z;
        EXPECT_LT(std::fabs(planeBefore - planeAfter), 1.0) << z;
        EXPECT_EQ(after.ox % after.z, 0);
        EXPECT_EQ(after.oy % after.z, 0);
    }
}

TEST(ZoomTest, AZoomBeyond32BitsLeavesTheView) {
    const View maxSize{INT32_MAX, 0, 0};
    EXPECT_EQ(lifeboard::ZoomBy(maxSize, +1, 400, 300), maxSize);
    const View farOffset{100, INT32_MIN + 50, 0};
    EXPECT_EQ(lifeboard::ZoomBy(farOffset, +1, 400, 300), farOffset);
}

TEST(ScrollTest, OffsetsStayWithin32Bits) {
    EXPECT_EQ(lifeboard::ScrolledOffset(100, -3, 10), 70);
    EXPECT_EQ(lifeboard::ScrolledOffset(INT32_MAX - 5, 1, 10), std::nullopt);
    EXPECT_EQ(lifeboard::ScrolledOffset(INT32_MIN + 10, -1, 10), INT32_MIN);
    EXPECT_EQ(lifeboard::ScrolledOffset(0, INT32_MIN, INT32_MAX), std::nullopt);
}

TEST(FitViewTest, OneSquareCellFitsAtSizeTenOnABoardOf120Pixels) {
    const PatternBounds one{0, 0, 0, 0};
    EXPECT_EQ(lifeboard::FitView(120, 120, 30, one, LatticeKind::kSquare), (View{10, 50, 80}));
    EXPECT_EQ(lifeboard::FitView(500, 400, 30, one, LatticeKind::kSquare)->z, 10)
        << "never above 10";
    // 100 / 6 / 2 = 8.33: z 8; ox = nearest((100 - 16) / 2) = 42 -> 40; oy = 30 + 42 = 72.
    EXPECT_EQ(lifeboard::FitView(100, 100, 30, one, LatticeKind::kSquare), (View{8, 40, 72}));
    EXPECT_EQ(lifeboard::FitView(114, 500, 0, one, LatticeKind::kSquare)->z, 10)
        << "9.5 rounds to the even 10";
    EXPECT_EQ(lifeboard::FitView(102, 500, 0, one, LatticeKind::kSquare)->z, 8)
        << "8.5 rounds to the even 8";
    EXPECT_EQ(lifeboard::FitView(5, 5, 0, one, LatticeKind::kSquare)->z, 1) << "never below 1";
    EXPECT_EQ(lifeboard::FitView(0, -20, 0, one, LatticeKind::kSquare)->z, 1);
}

TEST(FitViewTest, UsesThePitchOfEachLattice) {
    const PatternBounds one{0, 0, 0, 0};
    // zx = 200 / 6 / 3 = 11.1, zy = 200 / 6 / 3.46 = 9.6: z 10;
    // ox = (200 - 30) / 2 = 85 -> 80; oy = nearest((200 - 34.64) / 2) = 83 -> 80.
    EXPECT_EQ(lifeboard::FitView(200, 200, 0, one, LatticeKind::kHexagonal), (View{10, 80, 80}));
    // A pattern from (-5, 2) to (5, 4) on triangles: zx = 300 / 16 / 1.73 = 10.8,
    // zy = 300 / 8 / 3 = 12.5: 11, at most 10; ox = nearest((300 - 190.53) / 2 + 86.6) = 141 ->
    // 140; oy = 40 - 60 + (300 - 90) / 2 = 85 -> 80.
    EXPECT_EQ(
        lifeboard::FitView(300, 300, 40, PatternBounds{-5, 5, 2, 4}, LatticeKind::kTriangular),
        (View{10, 140, 80}));
}

TEST(FitViewTest, FailsWhenAnOffsetLeaves32Bits) {
    EXPECT_EQ(lifeboard::FitView(120, 120, 30, PatternBounds{INT32_MAX, INT32_MAX, 0, 0},
                                 LatticeKind::kSquare),
              std::nullopt);
    EXPECT_EQ(lifeboard::FitView(120, 120, 30, PatternBounds{0, 0, INT32_MIN, INT32_MIN},
                                 LatticeKind::kHexagonal),
              std::nullopt);
    // The widest pattern fits at z = 1 with its middle in the middle.
    EXPECT_EQ(lifeboard::FitView(120, 120, 0,
                                 PatternBounds{INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX},
                                 LatticeKind::kSquare),
              (View{1, 60, 60}));
}

} // namespace

TEST(DrawingGuardTest, IntegerSquaresMatchTheGeneralPolygonPath) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> anyCell(INT32_MIN, INT32_MAX);
    std::uniform_int_distribution<int32_t> nearCell(-60, 60);
    std::uniform_int_distribution<int32_t> zoom(1, 40);
    std::uniform_int_distribution<int32_t> offset(-400, 400);
    const BoardRect board{0, 30, 500, 400};
    for (int i = 0; i < 20000; ++i) {
        const View view{i % 50 == 0 ? 100000 : zoom(random), offset(random), offset(random)};
        const bool far = i % 10 == 0;
        const int32_t x = far ? anyCell(random) : nearCell(random);
        const int32_t y = far ? anyCell(random) : nearCell(random);
        const bool shrink = view.z < 4;
        const CellPolygon polygon =
            lifeboard::CellPolygonAt(LatticeKind::kSquare, view, x, y, shrink);
        lifeboard::DrawnPoints drawn;
        const int count = lifeboard::MeetsBoard(polygon, board)
                              ? lifeboard::DrawablePolygon(polygon, board, drawn)
                              : 0;
        lifeboard::Point32 topLeft, bottomRight;
        const bool square =
            lifeboard::DrawableSquare(view, x, y, shrink, board, topLeft, bottomRight);
        ASSERT_EQ(square, count > 0) << x << "," << y << " z=" << view.z;
        if (!square)
            continue;
        int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
        for (int k = 0; k < count; ++k) {
            minX = std::min(minX, drawn[k].x);
            maxX = std::max(maxX, drawn[k].x);
            minY = std::min(minY, drawn[k].y);
            maxY = std::max(maxY, drawn[k].y);
        }
        ASSERT_EQ(topLeft, (lifeboard::Point32{minX, minY}));
        ASSERT_EQ(bottomRight, (lifeboard::Point32{maxX, maxY}));
    }
}
