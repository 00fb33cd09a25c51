#include "LatticeGeometry.h"

#include "Conversions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace lifeboard {

namespace {

constexpr double kInt32Min = std::numeric_limits<int32_t>::min();
constexpr double kInt32Max = std::numeric_limits<int32_t>::max();

double Nearest(double v) {
    return platform::RoundHalfEven(v);
}

// abs(v) mod 2 without the overflow of abs(INT32_MIN).
int OddAbs(int64_t v) {
    return static_cast<int>(std::llabs(v) % 2);
}

int32_t ClampToInt32(double v) {
    if (!(v >= kInt32Min))
        return std::numeric_limits<int32_t>::min();
    if (v > kInt32Max)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// The offset less its remainder modulo z, the remainder taking the offset's
// sign: the offset moves toward zero.
int32_t SnapTowardZero(int32_t offset, int32_t z) {
    return offset - offset % z;
}

} // namespace


Pitch PitchOf(LatticeKind lattice, int32_t z) {
    const double zd = z;
    switch (lattice) {
    case LatticeKind::kHexagonal:
        return {3 * zd, 2 * kSqrt3 * zd};
    case LatticeKind::kTriangular:
        return {kSqrt3 * zd, 3 * zd};
    case LatticeKind::kSquare:
        break;
    }
    return {2 * zd, 2 * zd};
}

PixelPoint CellCentre(LatticeKind lattice, const View& view, int32_t x, int32_t y) {
    const double z = view.z;
    switch (lattice) {
    case LatticeKind::kHexagonal: {
        const int m = OddAbs(x);
        return {3 * z * x + view.ox, Nearest(2 * kSqrt3 * z * y - m * kSqrt3 * z + view.oy)};
    }
    case LatticeKind::kTriangular:
        return {Nearest(kSqrt3 * z * x + view.ox), 3 * z * y + view.oy};
    case LatticeKind::kSquare:
        break;
    }
    return {2 * z * x + view.ox, 2 * z * y + view.oy};
}

CellPolygon CellPolygonAt(LatticeKind lattice, const View& view, int32_t x, int32_t y,
                          bool shrinkSmallSquare) {
    const PixelPoint c = CellCentre(lattice, view, x, y);
    const double z = view.z;
    const double sz = kSqrt3 * z;
    CellPolygon p;
    switch (lattice) {
    case LatticeKind::kSquare: {
        const double shrink = shrinkSmallSquare && view.z < 4 ? 1 : 0;
        p.count = 4;
        p.points[0] = {c.x - z, c.y - z};
        p.points[1] = {c.x - z, c.y + z - shrink};
        p.points[2] = {c.x + z - shrink, c.y + z - shrink};
        p.points[3] = {c.x + z - shrink, c.y - z};
        break;
    }
    case LatticeKind::kHexagonal: {
        const double below = Nearest(c.y + sz);
        const double above = Nearest(c.y - sz);
        p.count = 6;
        p.points[0] = {c.x + 2 * z, c.y};
        p.points[1] = {c.x + z, below};
        p.points[2] = {c.x - z, below};
        p.points[3] = {c.x - 2 * z, c.y};
        p.points[4] = {c.x - z, above};
        p.points[5] = {c.x + z, above};
        break;
    }
    case LatticeKind::kTriangular: {
        const double right = Nearest(c.x + sz);
        const double left = Nearest(c.x - sz);
        p.count = 3;
        if ((std::llabs(int64_t{x}) + std::llabs(int64_t{y})) % 2 == 0) {
            p.points[0] = {c.x, c.y - 2 * z};
            p.points[1] = {right, c.y + z};
            p.points[2] = {left, c.y + z};
        } else {
            p.points[0] = {c.x, c.y + z};
            p.points[1] = {right, c.y - 2 * z};
            p.points[2] = {left, c.y - 2 * z};
        }
        break;
    }
    }
    return p;
}

std::optional<CellPos> CellAtPixel(LatticeKind lattice, const View& view, int32_t pixelX,
                                   int32_t pixelY) {
    if (view.z <= 0)
        return std::nullopt;
    const double z = view.z;
    const double dx = static_cast<double>(pixelX) - view.ox;
    const double dy = static_cast<double>(pixelY) - view.oy;
    double cx = 0;
    double cy = 0;
    switch (lattice) {
    case LatticeKind::kSquare:
        cx = Nearest(dx / (2 * z));
        cy = Nearest(dy / (2 * z));
        break;
    case LatticeKind::kHexagonal: {
        cx = Nearest(dx / (3 * z));
        const double m = std::fmod(std::fabs(cx), 2.0);
        cy = Nearest((dy + m * kSqrt3 * z) / (2 * kSqrt3 * z));
        break;
    }
    case LatticeKind::kTriangular:
        cx = Nearest(dx / (kSqrt3 * z));
        cy = Nearest((dy + z / 2) / (3 * z));
        break;
    }
    CellPos cell;
    if (!platform::ToInt32Rounded(cx, cell.x) || !platform::ToInt32Rounded(cy, cell.y))
        return std::nullopt;
    return cell;
}

VisibleRange VisibleCells(LatticeKind lattice, const View& view, int32_t width, int32_t height) {
    VisibleRange r;
    if (view.z <= 0)
        return r;
    const Pitch pitch = PitchOf(lattice, view.z);
    const double fromX = -static_cast<double>(view.ox) / pitch.px;
    const double fromY = -static_cast<double>(view.oy) / pitch.py;
    r.x.first = ClampToInt32(Nearest(fromX - 1));
    r.x.last = ClampToInt32(Nearest(fromX + width / pitch.px + 2));
    r.y.first = ClampToInt32(Nearest(fromY - 1));
    r.y.last = ClampToInt32(Nearest(fromY + height / pitch.py + 2));
    return r;
}

bool MeetsBoard(const CellPolygon& polygon, const BoardRect& board) {
    if (polygon.count == 0 || board.width <= 0 || board.height <= 0)
        return false;
    double minX = polygon.points[0].x, maxX = minX;
    double minY = polygon.points[0].y, maxY = minY;
    for (int i = 1; i < polygon.count; ++i) {
        minX = std::min(minX, polygon.points[i].x);
        maxX = std::max(maxX, polygon.points[i].x);
        minY = std::min(minY, polygon.points[i].y);
        maxY = std::max(maxY, polygon.points[i].y);
    }
    const double right = static_cast<double>(board.left) + board.width - 1;
    const double bottom = static_cast<double>(board.top) + board.height - 1;
    return maxX >= board.left && minX <= right && maxY >= board.top && minY <= bottom;
}

bool CellVisible(LatticeKind lattice, const View& view, int32_t x, int32_t y,
                 const BoardRect& board) {
    return view.z > 0 && MeetsBoard(CellPolygonAt(lattice, view, x, y), board);
}


namespace {

struct ClipEdge {
    int axis;     // 0 x, 1 y
    double limit; // inside: coordinate >= limit (keepAbove) or <= limit
    bool keepAbove;
};

bool Inside(const PixelPoint& p, const ClipEdge& e) {
    const double v = e.axis == 0 ? p.x : p.y;
    return e.keepAbove ? v >= e.limit : v <= e.limit;
}

PixelPoint Intersect(const PixelPoint& a, const PixelPoint& b, const ClipEdge& e) {
    if (e.axis == 0) {
        const double t = (e.limit - a.x) / (b.x - a.x);
        return {e.limit, a.y + t * (b.y - a.y)};
    }
    const double t = (e.limit - a.y) / (b.y - a.y);
    return {a.x + t * (b.x - a.x), e.limit};
}

} // namespace

int DrawablePolygon(const CellPolygon& polygon, const BoardRect& board, DrawnPoints& out) {
    const double left = std::max(kInt32Min, static_cast<double>(board.left) - kClipMargin);
    const double top = std::max(kInt32Min, static_cast<double>(board.top) - kClipMargin);
    const double right = std::min(kInt32Max, static_cast<double>(board.left) +
                                                 std::max(board.width, 0) - 1 + kClipMargin);
    const double bottom = std::min(kInt32Max, static_cast<double>(board.top) +
                                                  std::max(board.height, 0) - 1 + kClipMargin);

    std::array<PixelPoint, kMaxDrawnPoints> a{};
    std::array<PixelPoint, kMaxDrawnPoints> b{};
    int n = polygon.count;
    bool within = true;
    for (int i = 0; i < n; ++i) {
        a[i] = polygon.points[i];
        within = within && a[i].x >= left && a[i].x <= right && a[i].y >= top && a[i].y <= bottom;
    }
    if (!within) {
        const ClipEdge edges[] = {
            {0, left, true}, {0, right, false}, {1, top, true}, {1, bottom, false}};
        for (const ClipEdge& e : edges) {
            int m = 0;
            for (int i = 0; i < n; ++i) {
                const PixelPoint& cur = a[i];
                const PixelPoint& prev = a[(i + n - 1) % n];
                const bool curIn = Inside(cur, e);
                if (curIn != Inside(prev, e) && m < kMaxDrawnPoints)
                    b[m++] = Intersect(prev, cur, e);
                if (curIn && m < kMaxDrawnPoints)
                    b[m++] = cur;
            }
            n = m;
            a = b;
        }
    }
    if (n < 3)
        return 0;
    for (int i = 0; i < n; ++i) {
        out[i].x = ClampToInt32(std::clamp(Nearest(a[i].x), left, right));
        out[i].y = ClampToInt32(std::clamp(Nearest(a[i].y), top, bottom));
    }
    return n;
}

View ZoomBy(const View& view, int d, int32_t width, int32_t height) {
    if (view.z < 1)
        return view;
    const int64_t z = std::max<int64_t>(1, int64_t{view.z} + d);
    if (z > std::numeric_limits<int32_t>::max())
        return view;
    const double halfW = width / 2.0;
    const double halfH = height / 2.0;
    View next;
    next.z = static_cast<int32_t>(z);
    if (!platform::ToInt32Rounded(halfW - (halfW - view.ox) * z / view.z, next.ox) ||
        !platform::ToInt32Rounded(halfH - (halfH - view.oy) * z / view.z, next.oy))
        return view;
    next.ox = SnapTowardZero(next.ox, next.z);
    next.oy = SnapTowardZero(next.oy, next.z);
    return next;
}

std::optional<int32_t> ScrolledOffset(int32_t offset, int32_t d, int32_t z) {
    const int64_t moved = int64_t{offset} + int64_t{d} * z;
    if (moved < std::numeric_limits<int32_t>::min() || moved > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(moved);
}

std::optional<View> FitView(int32_t width, int32_t height, int32_t toolbarHeight,
                            const PatternBounds& bounds, LatticeKind lattice) {
    double fx = 2;
    double fy = 2;
    if (lattice == LatticeKind::kHexagonal) {
        fx = 3;
        fy = 3.46410161513776;
    } else if (lattice == LatticeKind::kTriangular) {
        fx = 1.73205080756888;
        fy = 3;
    }
    const double spanX = static_cast<double>(bounds.maxX) - bounds.minX;
    const double spanY = static_cast<double>(bounds.maxY) - bounds.minY;
    const double zx = width / (spanX + 6) / fx;
    const double zy = height / (spanY + 6) / fy;
    double z = Nearest(std::min(zx, zy));
    if (!(z >= 1))
        z = 1;
    if (z > 10)
        z = 10;
    View view;
    view.z = static_cast<int32_t>(z);
    if (!platform::ToInt32Rounded((width - z * (spanX + 1) * fx) / 2 - z * bounds.minX * fx,
                                  view.ox) ||
        !platform::ToInt32Rounded(
            toolbarHeight - z * bounds.minY * fy + (height - z * (spanY + 1) * fy) / 2, view.oy))
        return std::nullopt;
    view.ox = SnapTowardZero(view.ox, view.z);
    view.oy = SnapTowardZero(view.oy, view.z);
    return view;
}

} // namespace lifeboard
