// Tests of the board geometry: cell polygons, the hit test, the repaint range, the drawing guard
// and clipping, and the view arithmetic of zooming, scrolling and fitting.

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

using namespace lifeboard;
constexpr LatticeKind kSquare = LatticeKind::kSquare, kHex = LatticeKind::kHexagonal,
                      kTri = LatticeKind::kTriangular;

std::vector<PixelPoint> Points(const CellPolygon& p) {
    return {p.points.begin(), p.points.begin() + p.count};
}

constexpr LatticeKind kLattices[] = {kSquare, kHex, kTri};

TEST(LatticeGeometryTest, NeighbourCountsSelectTheLattice) {
    const std::pair<int16_t, LatticeKind> cases[] = {{4, kSquare}, {8, kSquare}, {5, kSquare},
                                                     {6, kHex},    {3, kTri},    {12, kTri}};
    for (const auto& [n, lattice] : cases)
        EXPECT_EQ(LatticeOf(n), lattice) << n;
}

TEST(LatticeGeometryTest, PolygonsOfEachLattice) {
    const View view{10, 0, 0};
    // Odd hexagon columns sit half a row higher; triangles with abs(x) + abs(y) even point up.
    // Centres are rounded first (17.32 -> 17) and the corners rounded from them.
    const struct {
        LatticeKind lattice;
        View view;
        int32_t x, y;
        bool shrink;
        std::vector<PixelPoint> points;
    } cases[] = {
        {kSquare, {10, 5, 7}, 1, -2, false, {{15, -43}, {15, -23}, {35, -23}, {35, -43}}},
        {kSquare, {10, 5, 7}, 1, -2, true, {{15, -43}, {15, -23}, {35, -23}, {35, -43}}},
        {kSquare, {3, 0, 0}, 1, 0, true, {{3, -3}, {3, 2}, {8, 2}, {8, -3}}},
        {kHex, view, 0, 0, false, {{20, 0}, {10, 17}, {-10, 17}, {-20, 0}, {-10, -17}, {10, -17}}},
        {kHex, view, 1, 0, false, {{50, -17}, {40, 0}, {20, 0}, {10, -17}, {20, -34}, {40, -34}}},
        {kTri, view, 0, 0, false, {{0, -20}, {17, 10}, {-17, 10}}},
        {kTri, view, 1, 0, false, {{17, 10}, {34, -20}, {0, -20}}},
        {kTri, view, -1, -1, false, {{-17, -50}, {0, -20}, {-34, -20}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Points(CellPolygonAt(c.lattice, c.view, c.x, c.y, c.shrink)), c.points)
            << static_cast<int>(c.lattice) << " " << c.x << "," << c.y;
    EXPECT_EQ(CellCentre(kHex, view, -1, 0).y, -17) << "the parity is taken on abs(x)";
    EXPECT_EQ(CellCentre(kHex, view, 2, 1), (PixelPoint{60, 35}));
}

TEST(HitTestTest, HalfWayBetweenSquaresGoesToTheEvenCellAndBeyondThePlaneToNone) {
    const struct {
        int32_t px, py;
        CellPos cell;
    } cases[] = {{10, 30, {0, 2}}, {30, -10, {2, 0}}, {-30, 9, {-2, 0}}, {11, 31, {1, 2}}};
    for (const auto& c : cases)
        EXPECT_EQ(CellAtPixel(kSquare, View{10, 0, 0}, c.px, c.py), c.cell);
    EXPECT_EQ(CellAtPixel(kSquare, View{1, INT32_MIN, 0}, INT32_MAX, 0), std::nullopt);
    EXPECT_EQ(CellAtPixel(kSquare, View{1, INT32_MIN, 0}, 0, 0), (CellPos{1073741824, 0}));
    EXPECT_EQ(CellAtPixel(kSquare, View{0, 0, 0}, 5, 5), std::nullopt);
}

TEST(HitTestTest, FindsTheCellAtTheCentreOfRandomCells) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int32_t> zs(1, 40), offsets(-100000, 100000),
        cells(-1000000, 1000000);
    for (const LatticeKind lattice : kLattices) {
        for (int i = 0; i < 20000; ++i) {
            const View view{zs(rng), offsets(rng), offsets(rng)};
            const CellPos cell{cells(rng), cells(rng)};
            const PixelPoint c = CellCentre(lattice, view, cell.x, cell.y);
            ASSERT_EQ(
                CellAtPixel(lattice, view, static_cast<int32_t>(c.x), static_cast<int32_t>(c.y)),
                cell)
                << "lattice " << static_cast<int>(lattice) << " z " << view.z;
        }
    }
}

TEST(VisibleRangeTest, CoversEveryCellThatMeetsTheWindowWithinThePlane) {
    const auto small = VisibleCells(kSquare, View{10, 0, 0}, 100, 50);
    EXPECT_EQ(small.x.first, -1);
    EXPECT_EQ(small.x.last, 7);
    EXPECT_EQ(small.y.last, 4) << "nearest(4.5) is 4";
    const auto clamped = VisibleCells(kSquare, View{1, INT32_MIN, 0}, INT32_MAX, INT32_MAX);
    EXPECT_EQ(clamped.x.first, 1073741823);
    EXPECT_EQ(clamped.x.last, INT32_MAX);

    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> zs(1, 12), offsets(-500, 500);
    const int32_t width = 97, height = 61;
    const BoardRect window{0, 0, width, height};
    for (const LatticeKind lattice : kLattices) {
        for (int i = 0; i < 300; ++i) {
            const View view{zs(rng), offsets(rng), offsets(rng)};
            const auto range = VisibleCells(lattice, view, width, height);
            for (int32_t x = range.x.first - 20; x <= range.x.last + 20; ++x)
                for (int32_t y = range.y.first - 20; y <= range.y.last + 20; ++y)
                    ASSERT_TRUE(!CellVisible(lattice, view, x, y, window) ||
                                (x >= range.x.first && x <= range.x.last && y >= range.y.first &&
                                 y <= range.y.last))
                        << x << "," << y;
        }
    }
}

TEST(DrawingGuardTest, DrawsExactlyTheCellsWhoseBoxMeetsTheBoard) {
    const View view{10, 0, 0};
    const BoardRect board{0, 30, 200, 100}; // pixels 0..199 x 30..129
    // Square (0, 1) spans y 10..30 and (10, 3) x 190..210; y is a cell number, not a pixel.
    const struct {
        View view;
        int32_t x, y;
        bool visible;
    } cases[] = {{view, 0, 1, true},      {view, 0, 0, false},
                 {view, 0, 3, true},      {view, -1, 3, false},
                 {view, 10, 3, true},     {view, 11, 3, false},
                 {view, 1, 200, false},   {{10, 0, -3970}, 1, 200, true},
                 {{0, 0, 0}, 0, 0, false}};
    for (const auto& c : cases)
        EXPECT_EQ(CellVisible(kSquare, c.view, c.x, c.y, board), c.visible) << c.x << "," << c.y;
    EXPECT_FALSE(CellVisible(kSquare, view, 0, 3, BoardRect{0, 30, 0, 100}));
}

TEST(DrawingGuardTest, CellsNearThePlaneLimitsAreDrawnWhereTheViewShowsThem) {
    const BoardRect board{0, 0, 300, 300};
    // Cell 1073741823 sits at pixel 100 under this offset; 200 cells on it is off the board.
    const View near{1, -2 * (INT32_MAX / 2 - 50), 0};
    EXPECT_TRUE(CellVisible(kSquare, near, INT32_MAX / 2, 0, board));
    EXPECT_FALSE(CellVisible(kSquare, near, INT32_MAX / 2 + 200, 0, board));
    // Far rows on triangles: row y sits at 3y + oy.
    const View low{1, 0, -3 * 700000000 + 150};
    EXPECT_TRUE(CellVisible(kTri, low, 0, 700000000, board));
    EXPECT_FALSE(CellVisible(kTri, low, 0, 700000100, board));
    EXPECT_FALSE(CellVisible(kHex, low, INT32_MIN, INT32_MAX, board));
    // Polygons of far cells do not overflow.
    const View far{1000, INT32_MAX, INT32_MIN};
    for (const LatticeKind lattice : kLattices) {
        for (const PixelPoint& q : Points(CellPolygonAt(lattice, far, INT32_MAX, INT32_MIN)))
            EXPECT_TRUE(q.x > 1e12 && q.y < -1e12) << static_cast<int>(lattice);
        EXPECT_FALSE(CellVisible(lattice, far, INT32_MAX, INT32_MIN, board));
    }
}

TEST(DrawingGuardTest, HugeCellsAreClippedToTheBoardAndSmallOnesKeptExact) {
    const BoardRect board{0, 0, 400, 300};
    DrawnPoints out{};
    const CellPolygon small = CellPolygonAt(kHex, View{10, 50, 50}, 1, 1);
    ASSERT_EQ(DrawablePolygon(small, board, out), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ((PixelPoint{double(out[i].x), double(out[i].y)}), small.points[i]);
    for (const LatticeKind lattice : kLattices) {
        const View huge{INT32_MAX / 4, 200, 150};
        const CellPolygon p = CellPolygonAt(lattice, huge, 0, 0);
        ASSERT_TRUE(MeetsBoard(p, board));
        const int n = DrawablePolygon(p, board, out);
        ASSERT_GE(n, 3);
        for (int i = 0; i < n; ++i)
            EXPECT_TRUE(out[i].x >= -kClipMargin && out[i].x <= 399 + kClipMargin &&
                        out[i].y >= -kClipMargin && out[i].y <= 299 + kClipMargin);
    }
    // A huge square covering the board clips to the grown board exactly.
    const CellPolygon square = CellPolygonAt(kSquare, View{1 << 30, 0, 0}, 0, 0);
    ASSERT_EQ(DrawablePolygon(square, board, out), 4);
    std::set<std::pair<int32_t, int32_t>> corners;
    for (int i = 0; i < 4; ++i)
        corners.emplace(out[i].x, out[i].y);
    EXPECT_EQ(corners, (std::set<std::pair<int32_t, int32_t>>{
                           {-64, -64}, {-64, 363}, {463, -64}, {463, 363}}));
}

TEST(ZoomTest, KeepsTheBoardCentreAndSnapsOffsetsTowardZero) {
    // Zooming out at z = 1, or beyond 32 bits, leaves the view.
    for (const auto& [view, step] : {std::pair{View{1, 37, -13}, -1},
                                     {View{INT32_MAX, 0, 0}, +1},
                                     {View{100, INT32_MIN + 50, 0}, +1}})
        EXPECT_EQ(ZoomBy(view, step, 400, 300), view) << view.z;
    // ox = nearest(200 - 200 * 11 / 10) = -20, snapped to -11, not -22;
    // oy = nearest(150 - 150 * 11 / 10) = -15, snapped to -11.
    EXPECT_EQ(ZoomBy(View{10, 0, 0}, +1, 400, 300), (View{11, -11, -11}));
    // ox = nearest(200 - 150 * 9 / 10) = 65 -> 63; oy = 150 - 120 * 0.9 = 42 -> 36.
    EXPECT_EQ(ZoomBy(View{10, 50, 30}, -1, 400, 300), (View{9, 63, 36}));
    // The plane point under the centre moves by less than one new cell.
    for (int32_t z = 1; z < 40; ++z) {
        const View before{z, -1234, 987};
        const View after = ZoomBy(before, +1, 640, 480);
        ASSERT_EQ(after.z, z + 1);
        EXPECT_LT(std::fabs((320.0 - before.ox) / before.z - (320.0 - after.ox) / after.z), 1.0);
        EXPECT_TRUE(after.ox % after.z == 0 && after.oy % after.z == 0) << z;
    }
}

TEST(ScrollTest, OffsetsStayWithin32Bits) {
    EXPECT_EQ(ScrolledOffset(100, -3, 10), 70);
    EXPECT_EQ(ScrolledOffset(INT32_MAX - 5, 1, 10), std::nullopt);
    EXPECT_EQ(ScrolledOffset(INT32_MIN + 10, -1, 10), INT32_MIN);
    EXPECT_EQ(ScrolledOffset(0, INT32_MIN, INT32_MAX), std::nullopt);
}

TEST(FitViewTest, FitsAtMostAtSizeTenOnTheLatticePitchAndFailsBeyond32Bits) {
    const PatternBounds one{0, 0, 0, 0};
    EXPECT_EQ(FitView(120, 120, 30, one, kSquare), (View{10, 50, 80}));
    // 100 / 6 / 2 = 8.33: z 8; ox = nearest((100 - 16) / 2) = 42 -> 40; oy = 30 + 42 = 72.
    EXPECT_EQ(FitView(100, 100, 30, one, kSquare), (View{8, 40, 72}));
    // Never above 10 or below 1; 9.5 and 8.5 round to the even size.
    const std::pair<std::pair<int32_t, int32_t>, int32_t> sizes[] = {
        {{500, 400}, 10}, {{114, 500}, 10}, {{102, 500}, 8}, {{5, 5}, 1}, {{0, -20}, 1}};
    for (const auto& [board, z] : sizes)
        EXPECT_EQ(FitView(board.first, board.second, 0, one, kSquare)->z, z) << board.first;
    // A cell away from the origin lands in the middle, within one snap of z.
    const auto away = FitView(120, 120, 0, {7, 7, -3, -3}, kSquare);
    ASSERT_TRUE(away);
    EXPECT_EQ(away->z, 10);
    EXPECT_NEAR(2.0 * away->z * 7 + away->ox, 60, 10);
    EXPECT_NEAR(2.0 * away->z * -3 + away->oy, 60, 10);
    // Hexagons: zx = 200 / 6 / 3 = 11.1, zy = 200 / 6 / 3.46 = 9.6: z 10; offsets 85, 83 -> 80.
    EXPECT_EQ(FitView(200, 200, 0, one, kHex), (View{10, 80, 80}));
    // (-5, 2)..(5, 4) on triangles: zx 10.8, zy 12.5, at most 10; ox 141 -> 140; oy 85 -> 80.
    EXPECT_EQ(FitView(300, 300, 40, PatternBounds{-5, 5, 2, 4}, kTri), (View{10, 140, 80}));
    EXPECT_EQ(FitView(120, 120, 30, {INT32_MAX, INT32_MAX, 0, 0}, kSquare), std::nullopt);
    EXPECT_EQ(FitView(120, 120, 30, {0, 0, INT32_MIN, INT32_MIN}, kHex), std::nullopt);
    // The widest pattern fits at z = 1 with its middle in the middle.
    EXPECT_EQ(FitView(120, 120, 0, {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX}, kSquare),
              (View{1, 60, 60}));
}

TEST(DrawingGuardTest, IntegerSquaresMatchTheGeneralPolygonPath) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> anyCell(INT32_MIN, INT32_MAX), nearCell(-60, 60),
        zoom(1, 40), offset(-400, 400);
    const BoardRect board{0, 30, 500, 400};
    for (int i = 0; i < 20000; ++i) {
        const View view{i % 50 == 0 ? 100000 : zoom(random), offset(random), offset(random)};
        const bool far = i % 10 == 0;
        const int32_t x = far ? anyCell(random) : nearCell(random);
        const int32_t y = far ? anyCell(random) : nearCell(random);
        const bool shrink = view.z < 4;
        const CellPolygon polygon = CellPolygonAt(kSquare, view, x, y, shrink);
        DrawnPoints drawn;
        const int count = MeetsBoard(polygon, board) ? DrawablePolygon(polygon, board, drawn) : 0;
        Point32 topLeft, bottomRight;
        const bool square = DrawableSquare(view, x, y, shrink, board, topLeft, bottomRight);
        ASSERT_EQ(square, count > 0) << x << "," << y << " z=" << view.z;
        if (!square)
            continue;
        Point32 low{INT32_MAX, INT32_MAX}, high{INT32_MIN, INT32_MIN};
        for (int k = 0; k < count; ++k) {
            low = {std::min(low.x, drawn[k].x), std::min(low.y, drawn[k].y)};
            high = {std::max(high.x, drawn[k].x), std::max(high.y, drawn[k].y)};
        }
        ASSERT_EQ(topLeft, low);
        ASSERT_EQ(bottomRight, high);
    }
}

} // namespace
