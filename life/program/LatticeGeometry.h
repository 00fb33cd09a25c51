#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

// Where the cells of the three lattices lie on the board, in pixels: the
// polygon of a cell, the cell under a pixel, the cells a repaint covers, and
// the view arithmetic of zooming, scrolling and fitting a pattern.
//
// A view is the cell size z (half the width of a square cell) and the pixel
// position (ox, oy) of the centre of square cell (0, 0). Pixel positions of
// far cells exceed 32 bits, so polygons are computed in double; their values
// are whole numbers, exact for every cell that can meet a board.

namespace lifeboard {

enum class LatticeKind { kSquare, kHexagonal, kTriangular };

// 6 is hexagonal, 3 and 12 triangular, anything else square.
constexpr LatticeKind LatticeOf(int16_t neiCount) {
    switch (neiCount) {
    case 6: return LatticeKind::kHexagonal;
    case 3:
    case 12: return LatticeKind::kTriangular;
    default: return LatticeKind::kSquare;
    }
}

struct View {
    int32_t z = 10;
    int32_t ox = 0;
    int32_t oy = 0;
    bool operator==(const View&) const = default;
};

struct CellPos {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const CellPos&) const = default;
};

struct PixelPoint {
    double x = 0;
    double y = 0;
    bool operator==(const PixelPoint&) const = default;
};

struct CellPolygon {
    int count = 0; // 4 squares, 6 hexagons, 3 triangles
    std::array<PixelPoint, 6> points{};
};

// A rectangle of pixels: left <= X < left + width, top <= Y < top + height.
struct BoardRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Distance between neighbouring centres along x and y.
struct Pitch {
    double px = 0;
    double py = 0;
};

struct CellRange {
    int32_t first = 0;
    int32_t last = -1; // empty when last < first
};

struct VisibleRange {
    CellRange x;
    CellRange y;
};

// The bounds of a pattern, in cells.
struct PatternBounds {
    int32_t minX = 0;
    int32_t maxX = 0;
    int32_t minY = 0;
    int32_t maxY = 0;
    bool operator==(const PatternBounds&) const = default;
};

inline constexpr double kSqrt3 = 1.73205080756888;

Pitch PitchOf(LatticeKind lattice, int32_t z);

// The centre of cell (x, y) as the polygon formulas place it.
PixelPoint CellCentre(LatticeKind lattice, const View& view, int32_t x, int32_t y);

// The polygon of cell (x, y). With shrinkSmallSquare, a square cell of z < 4
// loses one pixel at its right and bottom edges, so that neighbouring cells
// drawn with a pen of their fill colour do not overlap.
CellPolygon CellPolygonAt(LatticeKind lattice, const View& view, int32_t x, int32_t y,
                          bool shrinkSmallSquare = false);

// The cell under pixel (X, Y); none when it lies beyond the 32-bit plane or
// z is not positive.
std::optional<CellPos> CellAtPixel(LatticeKind lattice, const View& view, int32_t pixelX,
                                   int32_t pixelY);

// The lattice positions a repaint of a width x height window covers, clamped
// to the 32-bit plane. Loop over them with a 64-bit counter.
VisibleRange VisibleCells(LatticeKind lattice, const View& view, int32_t width, int32_t height);

// Whether the bounding box of the polygon meets the board.
bool MeetsBoard(const CellPolygon& polygon, const BoardRect& board);

// The drawing guard: z positive and the cell's polygon meets the board.
bool CellVisible(LatticeKind lattice, const View& view, int32_t x, int32_t y,
                 const BoardRect& board);

struct Point32 {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point32&) const = default;
};

// Pixels beyond the board that a clipped polygon still covers, so that its
// clip edges and their outline stay out of sight.
inline constexpr int32_t kClipMargin = 64;

inline constexpr int kMaxDrawnPoints = 16;
using DrawnPoints = std::array<Point32, kMaxDrawnPoints>;

// Integer vertices to draw the polygon with. A polygon within kClipMargin of
// the board comes back unchanged; a larger one (huge cells) is clipped to
// the board grown by kClipMargin, so that no vertex leaves the range a
// raster engine handles. Gives the vertex count, 0 when nothing is left.
int DrawablePolygon(const CellPolygon& polygon, const BoardRect& board, DrawnPoints& out);

// The drawn square of cell (x, y) on the square lattice in whole pixels, from
// the top-left to the bottom-right corner, the same as DrawablePolygon gives
// for CellPolygonAt, worked out in integers; false when it misses the board.
inline bool DrawableSquare(const View& view, int32_t x, int32_t y, bool shrinkSmallSquare,
                    const BoardRect& board, Point32& topLeft, Point32& bottomRight) {
    if (view.z <= 0)
        return false;
    const int64_t z = view.z;
    const int64_t cx = 2 * z * x + view.ox;
    const int64_t cy = 2 * z * y + view.oy;
    const int64_t shrink = shrinkSmallSquare && z < 4 ? 1 : 0;
    int64_t left = cx - z;
    int64_t top = cy - z;
    int64_t right = cx + z - shrink;
    int64_t bottom = cy + z - shrink;
    // The bounding box meets the board, as MeetsBoard tests it.
    if (right < board.left || left >= int64_t{board.left} + board.width || bottom < board.top ||
        top >= int64_t{board.top} + board.height || board.width <= 0 || board.height <= 0)
        return false;
    const int64_t minX = int64_t{board.left} - kClipMargin;
    const int64_t minY = int64_t{board.top} - kClipMargin;
    const int64_t maxX = int64_t{board.left} + board.width + kClipMargin;
    const int64_t maxY = int64_t{board.top} + board.height + kClipMargin;
    topLeft = {static_cast<int32_t>(std::max(left, minX)), static_cast<int32_t>(std::max(top, minY))};
    bottomRight = {static_cast<int32_t>(std::min(right, maxX)),
                   static_cast<int32_t>(std::min(bottom, maxY))};
    return true;
}

// Zooms by d (+1 in, -1 out) around the centre of a board of width x height
// pixels measured from the window's top-left corner: z never goes below 1,
// the centre stays on the same point of the plane, then both offsets move
// toward zero to a multiple of z. A zoom whose result leaves 32 bits gives
// the view back unchanged.
View ZoomBy(const View& view, int d, int32_t width, int32_t height);

// offset + d * z, or none when that leaves 32 bits.
std::optional<int32_t> ScrolledOffset(int32_t offset, int32_t d, int32_t z);

// The view that fits a pattern to a board of width x height pixels under a
// toolbar of toolbarHeight pixels: z from 1 to 10, offsets snapped toward
// zero to multiples of z. None when an offset leaves 32 bits.
std::optional<View> FitView(int32_t width, int32_t height, int32_t toolbarHeight,
                            const PatternBounds& bounds, LatticeKind lattice);

} // namespace lifeboard
