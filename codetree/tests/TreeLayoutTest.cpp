// Tests of the tree view's geometry: the layout, the drawing walk and its
// visibility tests, the hit test and the node colours.

#include "TreeLayout.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace codetree;

struct Call {
    const clsNode* node; // none for an edge
    int x, y, x2, y2;
};

struct Recorder : TreePainter {
    std::vector<Call> calls;
    std::string order; // L and R for edges, a node's label in brackets
    void Edge(EdgeSide side, int x, int y, int parentX, int parentY) override {
        calls.push_back({nullptr, x, y, parentX, parentY});
        order += side == EdgeSide::Left ? "L" : "R";
    }
    void Node(const clsNode& node, int x, int y) override {
        calls.push_back({&node, x, y, x, y});
        order += "[" + node.chars + "]";
    }
};

TreeView Canvas(int width, int height) {
    return {.canvasLeft = 10, .canvasTop = 20, .canvasWidth = width, .canvasHeight = height};
}

Recorder Draw(const CodeForest& forest, const TreeView& view) {
    Recorder recorder;
    DrawForest(forest, view, recorder);
    return recorder;
}

void Build(CodeForest& forest, std::initializer_list<double> weights, int merges) {
    for (double w : weights)
        forest.Add(w);
    for (int k = 0; k < merges; ++k)
        forest.MergeStep();
}

TEST(TreeLayoutTest, UnitsRadiusAndASingleLeafCentred) {
    const struct {
        int width, height, unitX, unitY, radius;
    } cases[] = {
        {400, 300, 100, 75, 30}, {1000, 1000, 100, 100, 30}, // the caps
        {40, 40, 10, 10, 10},                                // the cap from the units
        {400, 16, 100, 4, 7},                                // 1.7 x the smaller unit
        {20, 400, 5, 100, 8},                                // 8.5 rounds to even
    };
    for (const auto& c : cases) {
        CodeForest forest;
        forest.Add(1);
        TreeView view = Canvas(c.width, c.height);
        EXPECT_FALSE(LayOut(forest, view));
        const Call leaf = Draw(forest, view).calls.at(0);
        EXPECT_EQ((std::vector<int>{view.unitX, view.unitY, view.radius, leaf.x, leaf.y}),
                  (std::vector{c.unitX, c.unitY, c.radius, 10 + c.width / 2, 20 + c.height / 2}));
    }
}

TEST(TreeLayoutTest, TreesStandOnACommonBottomLine) {
    CodeForest forest;
    Build(forest, {1, 1, 2, 5}, 2); // [[[1] [2]] [3]] and [4]
    TreeView view = Canvas(700, 400);
    LayOut(forest, view);
    const Recorder drawn = Draw(forest, view);
    EXPECT_EQ(drawn.order, "LL[1]R[2][1, 2]R[3][1, 2, 3][4]");
    const Call &leaf2 = drawn.calls[4], &root1 = drawn.calls[8], &root2 = drawn.calls[9];
    EXPECT_EQ(root2.y, root1.y + 4 * view.unitY);
    EXPECT_EQ(root2.y, leaf2.y);
    EXPECT_EQ(root2.x - root1.x, 6 * view.unitX) << "columns 3 and 6, one empty between";
    EXPECT_EQ(drawn.calls[0].x2, root1.x);
    EXPECT_EQ(drawn.calls[0].y, root1.y + 2 * view.unitY);
}

TEST(TreeLayoutTest, LargeForestRaisesTheZoomAndDrawsOnlyTheCanvas) {
    CodeForest forest;
    for (int k = 0; k < 100; ++k)
        forest.Add(1);
    TreeView view = Canvas(301, 200);
    EXPECT_EQ(MinZoom(forest, view), 2); // (2 x 199 + 2) \ 301 + 1
    EXPECT_TRUE(LayOut(forest, view));
    EXPECT_TRUE(view.zoom == 2 && view.unitX == 1 && view.scrollMaxX == 301);
    EXPECT_EQ(view.scrollX, 150) << "half of 301 rounds to even";
    ZoomTree(view, -1);
    EXPECT_EQ(view.zoom, 2);
    ZoomTree(view, 1);
    LayOut(forest, view);
    const Recorder drawn = Draw(forest, view);
    EXPECT_GT(drawn.calls.size(), 10u);
    const double halo = 1.2 * view.radius;
    for (const Call& c : drawn.calls)
        EXPECT_TRUE(c.x + halo > 10 && c.x - halo < 311) << c.x;

    TreeView none = Canvas(0, 200);
    EXPECT_FALSE(LayOut(forest, none)) << "no area, no layout";
}

TEST(TreeLayoutTest, HitTest) {
    CodeForest leaf;
    leaf.Add(1);
    TreeView view = Canvas(400, 300); // the leaf at (210, 170), radius 30
    LayOut(leaf, view);
    const struct {
        float x, y;
        bool hit;
    } points[] = {{215, 175, true}, {181, 141, true}, {245, 170, false}, {210, 201, false}};
    for (const auto& p : points) {
        float x = p.x, y = p.y;
        EXPECT_EQ(HitTest(leaf, view, x, y), p.hit ? &leaf.Tree(1) : nullptr) << p.x << "," << p.y;
        EXPECT_TRUE(p.hit ? x == 210 && y == 170 : x == p.x && y == p.y);
    }
    // Levels lower than the radius: a point a unit below the centre hits, and the
    // point moves up to the centre, not to that of the level below.
    TreeView flat = Canvas(400, 8);
    LayOut(leaf, flat);
    float fx = 210, fy = 26;
    EXPECT_EQ(HitTest(leaf, flat, fx, fy), &leaf.Tree(1));
    EXPECT_EQ(fy, 24);

    // Every node drawn is found at its centre when that is on the canvas, zoomed
    // and scrolled too, and only then; every edge drawn meets the canvas.
    CodeForest forest;
    Build(forest, {1, 2, 3, 4, 5, 9, 1}, 4);
    for (int16_t zoom : {1, 3}) {
        TreeView zoomed = Canvas(500, 320);
        LayOut(forest, zoomed);
        ZoomTree(zoomed, static_cast<int16_t>(zoom - 1));
        zoomed.scrollX = std::max(zoomed.scrollX - 37, 0);
        LayOut(forest, zoomed);
        int found = 0, edges = 0;
        for (const Call& c : Draw(forest, zoomed).calls) {
            edges += c.node == nullptr;
            EXPECT_TRUE(c.node || (std::min(c.x, c.x2) < 510 && std::max(c.x, c.x2) > 10 &&
                                   std::min(c.y, c.y2) < 340 && std::max(c.y, c.y2) > 20));
            if (!c.node)
                continue;
            float x = static_cast<float>(c.x) + 3, y = static_cast<float>(c.y) - 2;
            const bool inside = x >= 10 && x <= 510 && y >= 20 && y <= 340;
            EXPECT_EQ(HitTest(forest, zoomed, x, y), inside ? c.node : nullptr) << c.node->chars;
            if (!inside)
                continue;
            EXPECT_TRUE(x == c.x && y == c.y) << c.node->chars;
            ++found;
            // Just below the middle between two levels, in the node's own column.
            x = static_cast<float>(c.x);
            y = static_cast<float>(c.y + zoomed.unitY + 1);
            EXPECT_TRUE(y > 340 || HitTest(forest, zoomed, x, y) == nullptr) << c.node->chars;
        }
        EXPECT_EQ(found, zoom == 1 ? 11 : 2);
        EXPECT_EQ(edges, zoom == 1 ? 8 : 4);
    }
    // Far right of the last tree on a canvas wider than the capped units fill: the last
    // tree is searched, and missed.
    TreeView wide = Canvas(1000, 300);
    LayOut(leaf, wide);
    float x = 1009, y = 170;
    EXPECT_EQ(HitTest(leaf, wide, x, y), nullptr);
}

TEST(TreeLayoutTest, NodeColour) {
    constexpr uint32_t kCyan = 0x00FFFF00, kMagenta = 0x00FF00FF;
    CodeForest equal, zero, forest;
    Build(equal, {2, 2, 2}, 0);
    Build(zero, {0, 4, 8}, 0);
    Build(forest, {1, 2, 8}, 0);
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(NodeColour(equal, &equal.Tree(i)) == kCyan &&
                    NodeColour(zero, &zero.Tree(i)) == kCyan);
    EXPECT_EQ(NodeColour(forest, &forest.Tree(1)), kCyan);
    EXPECT_EQ(NodeColour(forest, &forest.Tree(2)), 0x00FFAA55u) << "a third of the way";
    EXPECT_EQ(NodeColour(forest, &forest.Tree(3)), kMagenta);
    EXPECT_EQ(NodeColour(forest, nullptr), kOrange);
    forest.SetSelection(&forest.Tree(3));
    EXPECT_EQ(NodeColour(forest, &forest.Tree(3)), kYellow);
    forest.MergeStep();
    EXPECT_EQ(NodeColour(forest, &forest.Tree(1)), kWhite);
}

} // namespace
