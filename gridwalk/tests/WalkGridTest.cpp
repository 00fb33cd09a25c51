#include "WalkGrid.h"

#include <cstring>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

using gridwalk::WalkGrid;

// A grid with the given directions, x-fastest rows from the top ('.' empty, digits the directions).
WalkGrid GridOf(std::vector<const char*> rows) {
    WalkGrid g;
    const auto h = static_cast<int16_t>(rows.size());
    const auto w = static_cast<int16_t>(std::strlen(rows[0]));
    g.AllocateWalk(w, h);
    for (int16_t y = 0; y < h; ++y)
        for (int16_t x = 0; x < w; ++x)
            g.direction(x, y) = rows[y][x] == '.' ? -1 : static_cast<int16_t>(rows[y][x] - '0');
    return g;
}

std::vector<std::pair<int, int>> Moved(WalkGrid& g) {
    std::vector<std::pair<int, int>> moved;
    for (int x = 0; x < g.gridW; ++x)
        for (int y = 0; y < g.gridH; ++y)
            if (g.moved(x, y))
                moved.emplace_back(x, y);
    return moved;
}

TEST(WalkGrid, StepInDirectionMovesOneCellOrNone) {
    int16_t x = 5, y = 5;
    gridwalk::StepInDirection(0, x, y);
    EXPECT_EQ(x * 100 + y, 605);
    gridwalk::StepInDirection(3, x, y);
    EXPECT_EQ(x * 100 + y, 604);
    gridwalk::StepInDirection(-1, x, y);
    gridwalk::StepInDirection(7, x, y);
    EXPECT_EQ(x * 100 + y, 604);
    EXPECT_EQ(gridwalk::RandomDirection(0.999999), 3);
    EXPECT_EQ(gridwalk::RandomDirection(0.25), 1);
}

TEST(WalkGrid, OnlyAnUncontestedEmptyCellIsEntered) {
    // (0,0) faces the free (1,0); (0,1) and (2,1) both face (1,1); (2,0) faces outward; (2,2) faces (2,1), occupied.
    WalkGrid g = GridOf({"0.0", "0.2", "..3"});
    g.ChooseMoves([](int16_t, int16_t) { return true; });
    EXPECT_EQ(Moved(g), (std::vector<std::pair<int, int>>{{0, 0}}));
}

TEST(WalkGrid, TheAcceptanceDecidesAndMovesGoForward) {
    WalkGrid g = GridOf({"0.", ".3"});
    std::vector<std::pair<int, int>> asked;
    g.ChooseMoves([&](int16_t x, int16_t y) {
        asked.emplace_back(x, y);
        return x == 1;
    });
    // (0,0) faces (1,0), (1,1) faces (1,0) too: contested, nobody is asked.
    EXPECT_TRUE(asked.empty());

    WalkGrid h = GridOf({"0..", "..2"});
    h.ChooseMoves([&](int16_t x, int16_t) { return x == 2; });
    std::vector<std::pair<int, int>> moves;
    h.ApplyMoves([&](int16_t x, int16_t y, int16_t dx, int16_t dy) {
        moves.emplace_back(x * 10 + y, dx * 10 + dy);
    });
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{21, 11}}));
}

TEST(WalkGrid, EachStepChoosesItsMovesAfresh) {
    // Step 1: (1,0) moves on to (2,0); step 2: (0,0) moves into the cell it left.
    WalkGrid g = GridOf({"20."});
    g.ChooseMoves([](int16_t, int16_t) { return true; });
    EXPECT_EQ(Moved(g), (std::vector<std::pair<int, int>>{{1, 0}}));
    g.direction(0, 0) = 0;
    g.direction(1, 0) = -1;
    g.direction(2, 0) = 0;
    g.ChooseMoves([](int16_t, int16_t) { return true; });
    EXPECT_EQ(Moved(g), (std::vector<std::pair<int, int>>{{0, 0}}));
}

} // namespace
