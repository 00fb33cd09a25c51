#include "TreeLayout.h"

#include "Conversions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace codetree {

namespace {

// Columns of the forest, the empty ones between trees included.
int Columns(const CodeForest& forest) {
    int cols = -1;
    for (int i = 1; i <= forest.Size(); ++i)
        cols += forest.Tree(i).width + 1;
    return cols;
}

int MaxHeight(const CodeForest& forest) {
    int maxH = 0;
    for (int i = 1; i <= forest.Size(); ++i)
        maxH = std::max<int>(maxH, forest.Tree(i).height);
    return maxH;
}

int16_t ToInt16(int64_t v) {
    return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

int Round(double v) {
    return static_cast<int>(platform::RoundHalfEven(v));
}

} // namespace

int16_t MinZoom(const CodeForest& forest, const TreeView& view) {
    const int w = view.canvasWidth, h = view.canvasHeight;
    if (forest.Size() == 0 || w <= 0 || h <= 0)
        return view.minZoom;
    const int64_t byColumns = (2 * int64_t{Columns(forest)} + 2) / w + 1;
    const int64_t byLevels = (2 * int64_t{MaxHeight(forest)} + 2) / h + 1;
    return static_cast<int16_t>(std::min<int64_t>(std::max(byColumns, byLevels), kMaxZoom));
}

bool LayOut(const CodeForest& forest, TreeView& view) {
    const int w = view.canvasWidth, h = view.canvasHeight;
    if (forest.Size() == 0 || w <= 0 || h <= 0)
        return false;
    const int cols = Columns(forest), maxH = MaxHeight(forest);
    view.minZoom = MinZoom(forest, view);
    const bool raised = view.zoom < view.minZoom;
    if (raised)
        ZoomTree(view, static_cast<int16_t>(view.minZoom - view.zoom));

    const int64_t planeW = int64_t{view.zoom} * w, planeH = int64_t{view.zoom} * h;
    const int64_t unitX = std::min<int64_t>(planeW / (2 * int64_t{cols} + 2), kMaxUnit);
    const int64_t unitY = std::min<int64_t>(planeH / (2 * int64_t{maxH} + 2), kMaxUnit);
    view.unitX = static_cast<int16_t>(unitX);
    view.unitY = static_cast<int16_t>(unitY);

    int radius =
        std::min(Round(1.7 * static_cast<double>(std::min(unitX, unitY))), int{kMaxRadius});
    const double ux = static_cast<double>(unitX), uy = static_cast<double>(unitY);
    const double s = std::sqrt((uy * uy + ux * ux) / 1.2 / 1.2 / 1.2 / 1.2);
    radius = std::min(radius, Round(s));
    view.radius = static_cast<int16_t>(radius);

    view.originX = ToInt16(planeW / 2 - cols * unitX);
    view.originY = ToInt16(planeH / 2 - unitY * maxH);
    return raised;
}

void ZoomTree(TreeView& view, int16_t delta) {
    const int zoom = std::clamp<int>(view.zoom + delta, view.minZoom, kMaxZoom);
    view.zoom = static_cast<int16_t>(zoom);
    CentreScrollBars(view);
}

void CentreScrollBars(TreeView& view) {
    view.scrollMaxX = (view.zoom - 1) * std::max(view.canvasWidth, 0);
    view.scrollMaxY = (view.zoom - 1) * std::max(view.canvasHeight, 0);
    view.scrollX = Round(view.scrollMaxX / 2.0);
    view.scrollY = Round(view.scrollMaxY / 2.0);
}

int ScrollX(const TreeView& view, double planeX) {
    return Round(planeX - view.scrollX + view.canvasLeft);
}

int ScrollY(const TreeView& view, double planeY) {
    return Round(planeY - view.scrollY + view.canvasTop);
}

void DrawForest(const CodeForest& forest, const TreeView& view, TreePainter& painter) {
    const int maxH = MaxHeight(forest);
    int c = 0;
    for (int i = 1; i <= forest.Size(); ++i) {
        const clsNode& tree = forest.Tree(i);
        DrawSubtree(tree, view.originX + 2 * c * view.unitX + view.unitX * (2 * tree.pos + 1),
                    view.originY + view.unitY + 2 * view.unitY * (maxH - tree.height), view,
                    painter);
        c += tree.width + 1;
    }
}

void DrawSubtree(const clsNode& node, int x, int y, const TreeView& view, TreePainter& painter) {
    const int right = view.canvasLeft + view.canvasWidth;
    const int bottom = view.canvasTop + view.canvasHeight;
    const int sx = ScrollX(view, x), sy = ScrollY(view, y);
    if (node.left) {
        const clsNode& child = *node.left;
        const int lx = x - 2 * view.unitX * (child.width - child.pos);
        const int ly = y + 2 * view.unitY;
        const int slx = ScrollX(view, lx), sly = ScrollY(view, ly);
        if (sx > view.canvasLeft && sy < bottom && slx < right && sly > view.canvasTop)
            painter.Edge(EdgeSide::Left, slx, sly, sx, sy);
        DrawSubtree(child, lx, ly, view, painter);
    }
    if (node.right) {
        const clsNode& child = *node.right;
        const int rx = x + 2 * view.unitX * (child.pos + 1);
        const int ry = y + 2 * view.unitY;
        const int srx = ScrollX(view, rx), sry = ScrollY(view, ry);
        if (srx > view.canvasLeft && sy < bottom && sx < right && sry > view.canvasTop)
            painter.Edge(EdgeSide::Right, srx, sry, sx, sy);
        DrawSubtree(child, rx, ry, view, painter);
    }
    const double halo = 1.2 * view.radius;
    if (sx + halo > view.canvasLeft && sy + halo > view.canvasTop && sx - halo < right &&
        sy - halo < bottom)
        painter.Node(node, sx, sy);
}

uint32_t NodeColour(const CodeForest& forest, const clsNode* node) {
    if (node == nullptr)
        return kOrange;
    if (node == forest.Selection())
        return kYellow;
    if (!node->IsLeaf())
        return kWhite;
    const double w = node->weight, lo = forest.MinWeight(), hi = forest.MaxWeight();
    int b = 0;
    if (lo > 0 && lo != hi && w > 0)
        b = std::clamp(Round(255 * std::log(w / lo) / std::log(hi / lo)), 0, 255);
    return 0x00FF0000u | (static_cast<uint32_t>(255 - b) << 8) | static_cast<uint32_t>(b);
}

const clsNode* HitTest(const CodeForest& forest, const TreeView& view, float& x, float& y) {
    if (x < view.canvasLeft || y < view.canvasTop || x > view.canvasLeft + view.canvasWidth ||
        y > view.canvasTop + view.canvasHeight || forest.Size() == 0)
        return nullptr;
    const int ux = view.unitX, uy = view.unitY;
    if (ux <= 0 || uy <= 0)
        return nullptr; // not laid out yet
    const double px = double{x} - view.canvasLeft + view.scrollX;
    const double py = double{y} - view.canvasTop + view.scrollY;
    int vx = Round(px - view.originX);
    int vy = Round(py - view.originY);

    int i = 1;
    while (i < forest.Size() && 2 * ux * (forest.Tree(i).width + 1) < vx) {
        vx -= 2 * ux * (forest.Tree(i).width + 1);
        ++i;
    }
    const clsNode* node = &forest.Tree(i);
    int row = MaxHeight(forest) - node->height; // the level of node
    vy -= 2 * uy * row;

    const clsNode* hit = nullptr;
    while (node != nullptr) {
        const int pos = node->pos;
        if (vy > 2 * uy) {
            if (2 * ux * pos <= vx && vx <= 2 * ux * (pos + 1))
                break;
            vy -= 2 * uy;
            ++row;
            if (vx < 2 * ux * pos) {
                node = node->left.get();
            } else {
                vx -= 2 * ux * (pos + 1);
                node = node->right.get();
            }
        } else {
            if (2 * ux * pos < vx && vx < 2 * ux * (pos + 1) &&
                std::abs(vx - ux * (2 * pos + 1)) < view.radius && std::abs(vy - uy) < view.radius)
                hit = node;
            break;
        }
    }
    if (hit == nullptr)
        return nullptr;
    // The column under the point is the node's; the row is taken from the search, since
    // a radius above unitY reaches into the neighbouring levels.
    const int col = Round(px - view.originX) / (2 * ux);
    x = static_cast<float>(view.canvasLeft + ux + 2 * ux * col - view.scrollX + view.originX);
    y = static_cast<float>(view.canvasTop + uy + 2 * uy * row - view.scrollY + view.originY);
    return hit;
}

} // namespace codetree
