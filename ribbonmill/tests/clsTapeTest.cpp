#include "RecordingView.h"
#include "clsTape.h"

#include <gtest/gtest.h>

using ribbonmill::clsTape;
using ribbonmill::clsTapeElement;

namespace {

// Checks the tape's invariants: no gaps, ends without neighbours, the window
// 20 cells wide and the head curoffset cells from its first cell.
void ExpectWhole(const clsTape& tape) {
    std::size_t count = 0;
    int leftAt = -1, rightAt = -1, curAt = -1;
    for (const clsTapeElement* cell = &tape.LeftEnd(); cell != nullptr; cell = cell->n) {
        if (cell->n != nullptr) {
            ASSERT_EQ(cell->n->p, cell);
        }
        leftAt = cell == tape.left ? static_cast<int>(count) : leftAt;
        rightAt = cell == tape.right ? static_cast<int>(count) : rightAt;
        curAt = cell == tape.cur ? static_cast<int>(count) : curAt;
        ++count;
    }
    EXPECT_EQ(count, tape.CellCount());
    ASSERT_GE(leftAt, 0);
    EXPECT_EQ(rightAt, leftAt + 19);
    EXPECT_EQ(curAt, leftAt + tape.curoffset);
}

} // namespace

TEST(clsTape, NewTapeIsTwentyBlanksWithTheHeadAtTen) {
    RecordingView view;
    clsTape tape(&view);
    EXPECT_EQ(tape.CellCount(), 20u);
    EXPECT_EQ(tape.curoffset, 10);
    EXPECT_EQ(view.marker, std::vector<int32_t>{10});
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(tape.Box(i).symbol, -1);
    ExpectWhole(tape);
}

TEST(clsTape, ScrollingAddsCellsOnlyPastTheEnds) {
    RecordingView view;
    clsTape tape(&view);
    tape.Change(0, "4");
    tape.Move(-1);
    tape.Move(-1);
    EXPECT_EQ(tape.CellCount(), 22u);
    EXPECT_EQ(tape.Box(2).symbol, 4);
    EXPECT_EQ(tape.curoffset, 12);
    tape.Move(1);
    tape.Move(1);
    EXPECT_EQ(tape.CellCount(), 22u) << "scrolling back adds nothing";
    tape.Move(1);
    EXPECT_EQ(tape.CellCount(), 23u);
    // The cell of box 0 moved to the left of the window with the head's cell.
    tape.Change(19, "9");
    EXPECT_EQ(tape.right->symbol, 9);
    EXPECT_EQ(tape.curoffset, 9);
    EXPECT_EQ(view.rows, 5);
    EXPECT_EQ(view.marker.back(), 9);
    ExpectWhole(tape);
}

TEST(clsTape, HeadLeavesTheWindowAndTheMarkerFollows) {
    RecordingView view;
    clsTape tape(&view);
    for (int i = 0; i < 11; ++i)
        tape.MoveCur(-1);
    EXPECT_EQ(tape.curoffset, -1);
    EXPECT_EQ(tape.CellCount(), 21u);
    for (int i = 0; i < 21; ++i)
        tape.MoveCur(1);
    EXPECT_EQ(tape.curoffset, 20);
    EXPECT_EQ(tape.CellCount(), 22u);
    EXPECT_EQ(view.marker.back(), 20);
    tape.Move(1);
    EXPECT_EQ(tape.curoffset, 19) << "the window scrolls under the head";
    ExpectWhole(tape);
}

TEST(clsTape, TextConversions) {
    EXPECT_EQ(clsTape::String2Symb("7abc"), 7);
    EXPECT_EQ(clsTape::String2Symb("a7"), -1);
    EXPECT_EQ(clsTape::String2Symb(""), -1);
    EXPECT_EQ(clsTape::String2Symb(" "), -1);
    EXPECT_EQ(clsTape::String2Symb("/"), -1);
    EXPECT_EQ(clsTape::String2Symb(":"), -1);
    EXPECT_EQ(clsTape::String2Symb("\xE9"), -1);
    EXPECT_EQ(clsTape::Symb2String(-1, true), " ");
    EXPECT_EQ(clsTape::Symb2String(-1, false), "(blank)");
    EXPECT_EQ(clsTape::Symb2String(0, true), "0");
    EXPECT_EQ(clsTape::Symb2String(9, false), "9");
}

TEST(clsTape, BuiltFromCellsKeepsItsWindowAndHead) {
    const std::vector<int16_t> cells = {1, -1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, -1, 5};
    clsTape tape(cells, 2, -2);
    EXPECT_EQ(tape.cur->symbol, 1);
    EXPECT_EQ(tape.left->symbol, 2);
    EXPECT_EQ(tape.right->symbol, -1);
    ExpectWhole(tape);
    EXPECT_THROW(clsTape(cells, 4, 0), std::invalid_argument);
    EXPECT_THROW(clsTape(cells, 0, 23), std::invalid_argument);
    EXPECT_THROW(clsTape(cells, 0, -1), std::invalid_argument);
}
