#pragma once

#include "TapeView.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The tape of the machine: a row of cells that grows at either end, behind a
// window of kBoxes consecutive cells. A cell is named by its place (Cell),
// counted from the first cell the tape was made with, negative to its left;
// `left` and `right` are the window's first and last cells, kBoxes - 1 apart;
// `cur` is the cell under the head, `curoffset` cells to the right of `left`
// (to its left when negative; beyond the window's last box when above
// kBoxes - 1). A new cell is added blank at an end whenever the head or the
// window moves past it; cells are never removed while the tape lives.
//
// A tape holds at most kMaxCells cells: a move that would need one more fails
// and changes nothing, so that a machine that runs away cannot take the
// desktop's memory. The symbols are kept one byte a cell, in blocks allocated
// as the tape grows and released with the tape.
//
// Creating a new tape, Move and MoveCur end by telling the view where the
// head stands.

namespace ribbonmill {

class clsTape {
public:
    using Cell = int64_t;

    static constexpr int kBoxes = 20;
    // Ten million cells: ten megabytes of symbols, and a machine file of at
    // most 170 megabytes.
    static constexpr int64_t kMaxCells = 10'000'000;

    // A new tape: kBoxes blank cells, the head under the middle box.
    explicit clsTape(TapeView* view = nullptr);
    // A tape of the given cells from its left end (at most kMaxCells, each -1
    // to 9), the window's first cell at `leftIndex` and the head `curoffset`
    // cells from it. The caller sees that the window and the head lie among the
    // cells. The view is told nothing until the tape is in place.
    clsTape(std::span<const int16_t> symbols, std::size_t leftIndex, int32_t curoffset,
            TapeView* view = nullptr);
    ~clsTape();
    clsTape(const clsTape&) = delete;
    clsTape& operator=(const clsTape&) = delete;

    // Scrolls the window one cell: -1 to the left, any other value to the right.
    // The head stays on its cell. False, with nothing changed, when the tape is
    // full and the window stands at the end it would pass.
    bool Move(int dir);
    // Moves the head one cell: -1 to the left, any other value to the right.
    // False, with nothing changed, when the tape is full and the head stands
    // at the end it would pass.
    bool MoveCur(int dir);
    // Whether MoveCur(dir) would succeed.
    bool CanMoveCur(int dir) const { return !Full() || !AtEnd(cur, dir); }
    bool Full() const { return CellCount() >= kMaxCells; }

    // A digit as its decimal digit; the blank as " " in short form, "(blank)" otherwise.
    static std::string Symb2String(int16_t symb, bool isShort);
    // The first character's digit; -1 for the empty text or any other first character.
    static int16_t String2Symb(std::string_view st);
    // The cell `ind` cells right of `left` takes String2Symb(text).
    void Change(int ind, std::string_view text);

    // The cell `ind` cells right of `left` (0 to kBoxes - 1), and its symbol.
    Cell Box(int ind) const;
    int16_t BoxSymbol(int ind) const { return Symbol(Box(ind)); }
    // A cell's symbol, -1 to 9. A cell not on the tape throws.
    int16_t Symbol(Cell cell) const;
    void SetSymbol(Cell cell, int16_t symbol);
    Cell LeftEnd() const { return begin_; }
    Cell RightEnd() const { return end_ - 1; }
    std::size_t CellCount() const { return static_cast<std::size_t>(end_ - begin_); }
    // The bytes the tape holds for its cells and their blocks.
    std::size_t MemoryBytes() const;

    Cell left = 0;
    Cell right = 0;
    Cell cur = 0;
    int32_t curoffset = 0;

private:
    static constexpr int kBlockBits = 16;
    static constexpr Cell kBlockCells = Cell{1} << kBlockBits;
    using Block = std::unique_ptr<int8_t[]>;

    bool AtEnd(Cell cell, int dir) const { return dir == -1 ? cell == begin_ : cell == end_ - 1; }
    // Adds a blank cell at the end on dir's side; false when the tape is full.
    bool Grow(int dir);
    static Block NewBlock();
    int8_t& Byte(Cell cell) const {
        // Cells from 0 rightwards lie in right_, cells left of 0 in left_, each
        // counted outwards from 0.
        return cell >= 0 ? right_[static_cast<std::size_t>(cell >> kBlockBits)]
                                 [static_cast<std::size_t>(cell & (kBlockCells - 1))]
                         : left_[static_cast<std::size_t>(~cell >> kBlockBits)]
                                [static_cast<std::size_t>(~cell & (kBlockCells - 1))];
    }

    std::vector<Block> right_;
    std::vector<Block> left_;
    Cell begin_ = 0; // the leftmost cell
    Cell end_ = 0;   // one past the rightmost cell
    TapeView* view_;
};

} // namespace ribbonmill
