#include "RecordingView.h"
#include "clsTape.h"

#include <gtest/gtest.h>

using ribbonmill::clsTape;

namespace {

// Checks the tape's invariants: the window 20 cells wide on the tape, the head
// on the tape curoffset cells from the window's first cell.
void ExpectWhole(const clsTape& tape) {
    EXPECT_EQ(tape.CellCount(), static_cast<std::size_t>(tape.RightEnd() - tape.LeftEnd() + 1));
    EXPECT_GE(tape.left, tape.LeftEnd());
    EXPECT_EQ(tape.right, tape.left + 19);
    EXPECT_LE(tape.right, tape.RightEnd());
    EXPECT_EQ(tape.cur, tape.left + tape.curoffset);
    EXPECT_GE(tape.cur, tape.LeftEnd());
    EXPECT_LE(tape.cur, tape.RightEnd());
}

} // namespace

TEST(clsTape, NewTapeIsTwentyBlanksWithTheHeadAtTen) {
    RecordingView view;
    clsTape tape(&view);
    EXPECT_EQ(tape.CellCount(), 20u);
    EXPECT_EQ(tape.curoffset, 10);
    EXPECT_EQ(view.marker, std::vector<int32_t>{10});
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(tape.BoxSymbol(i), -1);
    ExpectWhole(tape);
}

TEST(clsTape, ScrollingAddsCellsOnlyPastTheEnds) {
    RecordingView view;
    clsTape tape(&view);
    tape.Change(0, "4");
    tape.Move(-1);
    tape.Move(-1);
    EXPECT_EQ(tape.CellCount(), 22u);
    EXPECT_EQ(tape.BoxSymbol(2), 4);
    EXPECT_EQ(tape.curoffset, 12);
    tape.Move(1);
    tape.Move(1);
    EXPECT_EQ(tape.CellCount(), 22u) << "scrolling back adds nothing";
    tape.Move(1);
    EXPECT_EQ(tape.CellCount(), 23u);
    // The cell of box 0 moved to the left of the window with the head's cell.
    tape.Change(19, "9");
    EXPECT_EQ(tape.Symbol(tape.right), 9);
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
    EXPECT_EQ(tape.Symbol(tape.cur), 1);
    EXPECT_EQ(tape.Symbol(tape.left), 2);
    EXPECT_EQ(tape.Symbol(tape.right), -1);
    ExpectWhole(tape);
    EXPECT_THROW(clsTape(cells, 4, 0), std::invalid_argument);
    EXPECT_THROW(clsTape(cells, 0, 23), std::invalid_argument);
    EXPECT_THROW(clsTape(cells, 0, -1), std::invalid_argument);
}

TEST(clsTape, AFullTapeMovesOnlyWhereItsCellsAre) {
    // A full tape whose window and head stand at its left end.
    const std::vector<int16_t> cells(clsTape::kMaxCells, 3);
    clsTape tape(cells, 0, 0);
    EXPECT_TRUE(tape.Full());
    EXPECT_LE(tape.MemoryBytes(), clsTape::kMaxCells + (1u << 20)) << "a byte a cell";
    EXPECT_FALSE(tape.CanMoveCur(-1));
    EXPECT_FALSE(tape.MoveCur(-1));
    EXPECT_FALSE(tape.Move(-1));
    EXPECT_EQ(tape.cur, 0);
    EXPECT_EQ(tape.left, 0);
    EXPECT_EQ(tape.curoffset, 0);
    EXPECT_EQ(tape.CellCount(), cells.size());
    // Over cells it has, it moves.
    EXPECT_TRUE(tape.MoveCur(1));
    EXPECT_TRUE(tape.Move(1));
    EXPECT_EQ(tape.curoffset, 0);
    EXPECT_EQ(tape.Symbol(tape.RightEnd()), 3);
    ExpectWhole(tape);
    const std::vector<int16_t> tooMany(clsTape::kMaxCells + 1, -1);
    EXPECT_THROW(clsTape(tooMany, 0, 0), std::invalid_argument);
    EXPECT_THROW(clsTape(std::vector<int16_t>(20, 10), 0, 0), std::invalid_argument);
    EXPECT_THROW(tape.SetSymbol(tape.RightEnd() + 1, 0), std::out_of_range);
    EXPECT_THROW(tape.Symbol(tape.LeftEnd() - 1), std::out_of_range);
}
