#pragma once

#include "CodeForest.h"

#include <cstdint>

// The geometry of Codetree's tree view, so that the window only draws.
//
// The forest is laid out on a zoomed plane of zoom x the canvas size, whose part
// under the canvas the two scroll bars choose. A subtree of width w takes w columns,
// each 2 x unitX wide, its node standing in column pos; levels are 2 x unitY high.
// Trees stand side by side in forest order with one empty column between them, on
// a common bottom line. Plane coordinates fit 16 bits while the plane stays under
// 32,767 pixels, which the Zoom in command keeps.

namespace codetree {

// The view state of the main window, in pixels of its client area.
struct TreeView {
    int canvasLeft = 0;
    int canvasTop = 0;
    int canvasWidth = 0;
    int canvasHeight = 0;
    int scrollX = 0; // values of the horizontal and vertical scroll bars
    int scrollY = 0;
    int scrollMaxX = 0; // their maxima
    int scrollMaxY = 0;
    int16_t zoom = 1;
    int16_t minZoom = 1; // smallest zoom giving every column and level a pixel unit
    int16_t unitX = 0;   // half a column's width
    int16_t unitY = 0;   // half a level's height
    int16_t originX = 0; // offset of the forest inside the zoomed plane
    int16_t originY = 0;
    int16_t radius = 0; // of a node circle
};

inline constexpr int16_t kMaxUnit = 100;
inline constexpr int16_t kMaxRadius = 30;
inline constexpr int16_t kMaxZoom = 32767;

// Colours as 0x00BBGGRR.
inline constexpr uint32_t kOrange = 0x000080FF; // no node; the halo of the selection
inline constexpr uint32_t kYellow = 0x0000FFFF; // the selection
inline constexpr uint32_t kWhite = 0x00FFFFFF;  // internal nodes
inline constexpr uint32_t kBlue = 0x00FF0000;   // edges to left children
inline constexpr uint32_t kRed = 0x000000FF;    // edges to right children

// The smallest zoom for the forest on this canvas; view.minZoom while the forest is
// empty or the canvas has no area.
int16_t MinZoom(const CodeForest& forest, const TreeView& view);

// Recomputes minZoom, the units, the radius and the origin for the current forest and
// canvas, raising the zoom to minZoom first (which recentres the scroll bars). True
// when it raised the zoom. Leaves the view alone while the forest is empty or the
// canvas has no area.
bool LayOut(const CodeForest& forest, TreeView& view);

// Changes the zoom by delta, not below minZoom, and recentres both scroll bars.
void ZoomTree(TreeView& view, int16_t delta);

// Scroll-bar maxima of (zoom - 1) x the canvas size, each value at half its maximum.
void CentreScrollBars(TreeView& view);

// A plane coordinate on the screen.
int ScrollX(const TreeView& view, double planeX);
int ScrollY(const TreeView& view, double planeY);

enum class EdgeSide { Left, Right };

// What the window draws; every call is already known to meet the canvas.
class TreePainter {
public:
    virtual ~TreePainter() = default;
    // A line from a child's centre to its parent's, in screen pixels; blue to a left
    // child, red to a right one.
    virtual void Edge(EdgeSide side, int childX, int childY, int parentX, int parentY) = 0;
    // A node centred at the screen point: its halo of 1.2 x radius, its circle and, for
    // a leaf, its label when it fits inside the circle.
    virtual void Node(const clsNode& node, int x, int y) = 0;
};

// Draws every tree of the forest laid out by LayOut.
void DrawForest(const CodeForest& forest, const TreeView& view, TreePainter& painter);

// Draws a subtree whose node stands at plane point (x, y): the edge to the left
// child and its subtree, the edge to the right child and its subtree, then the node.
void DrawSubtree(const clsNode& node, int x, int y, const TreeView& view, TreePainter& painter);

// The fill colour of a node; none gives orange. Leaves go from cyan for the lightest
// to magenta for the heaviest on a logarithmic scale.
uint32_t NodeColour(const CodeForest& forest, const clsNode* node);

// The node under the screen point (x, y), or none. On a hit the point moves to the
// node's centre.
const clsNode* HitTest(const CodeForest& forest, const TreeView& view, float& x, float& y);

} // namespace codetree
