#pragma once

#include "TapeView.h"
#include "clsTapeElement.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>

// The tape of the machine: a doubly linked list of cells, unbounded both ways,
// behind a window of kBoxes consecutive cells. `left` and `right` are the
// window's first and last cells, kBoxes - 1 cells apart; `cur` is the cell
// under the head, `curoffset` cells to the right of `left` (to its left when
// negative; beyond the window's last box when above kBoxes - 1). A new cell is
// linked blank at an end whenever the head or the window moves past it; cells
// are never removed while the tape lives. The cells are pooled in blocks, not
// allocated one by one, and their addresses stay valid for the tape's life.
//
// Creating a new tape, Move and MoveCur end by telling the view where the
// head stands.

namespace ribbonmill {

class clsTape {
public:
    static constexpr int kBoxes = 20;

    // A new tape: kBoxes blank cells, the head under the middle box.
    explicit clsTape(TapeView* view = nullptr);
    // A tape of the given cells from its left end, the window's first cell at
    // `leftIndex` and the head `curoffset` cells from it. The caller sees that
    // the window and the head lie among the cells. The view is told nothing
    // until the tape is in place.
    clsTape(std::span<const int16_t> symbols, std::size_t leftIndex, int32_t curoffset,
            TapeView* view = nullptr);
    clsTape(const clsTape&) = delete;
    clsTape& operator=(const clsTape&) = delete;

    // Scrolls the window one cell: -1 to the left, any other value to the right.
    // The head stays on its cell.
    void Move(int dir);
    // Moves the head one cell: -1 to the left, any other value to the right.
    void MoveCur(int dir);

    // A digit as its decimal digit; the blank as " " in short form, "(blank)" otherwise.
    static std::string Symb2String(int16_t symb, bool isShort);
    // The first character's digit; -1 for the empty text or any other first character.
    static int16_t String2Symb(std::string_view st);
    // The cell `ind` cells right of `left` takes String2Symb(text).
    void Change(int ind, std::string_view text);

    // The cell `ind` cells right of `left` (0 to kBoxes - 1).
    clsTapeElement& Box(int ind) const;
    // The tape's leftmost cell.
    clsTapeElement& LeftEnd() const;
    std::size_t CellCount() const { return cells_.size(); }

    clsTapeElement* left = nullptr;
    clsTapeElement* right = nullptr;
    clsTapeElement* cur = nullptr;
    int32_t curoffset = 0;

private:
    clsTapeElement* NewCell() { return &cells_.emplace_back(); }

    std::deque<clsTapeElement> cells_;
    TapeView* view_;
};

} // namespace ribbonmill
