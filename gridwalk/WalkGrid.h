#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The grid skeleton that the epidemic and the segregation grid share: a bounded
// square grid of cells indexed (x, y), x the column; a direction per occupied
// cell and step (0 = x + 1, 1 = y + 1, 2 = x - 1, 3 = y - 1, -1 on an empty
// cell); and the move rule: a person moves one cell forward into an empty cell
// that no other person faces. Sweeps run with x outer and y inner.

namespace gridwalk {

// Moves (x, y) one cell in direction dir; any other value leaves it. No bounds check.
inline void StepInDirection(int16_t dir, int16_t& x, int16_t& y) {
    switch (dir) {
    case 0:
        ++x;
        break;
    case 1:
        ++y;
        break;
    case 2:
        --x;
        break;
    case 3:
        --y;
        break;
    default:
        break;
    }
}

// The direction for a uniform draw r in [0, 1): the integer part of r * 4.
inline int16_t RandomDirection(double r) {
    return static_cast<int16_t>(r * 4);
}

// A w x h array of cells.
template <class T> class CellArray {
public:
    void Allocate(int w, int h, T value = T()) {
        h_ = h;
        cells_.assign(static_cast<size_t>(w) * h, value);
    }
    T& operator()(int x, int y) { return cells_[static_cast<size_t>(x) * h_ + y]; }
    const T& operator()(int x, int y) const { return cells_[static_cast<size_t>(x) * h_ + y]; }
    void Fill(T value) { cells_.assign(cells_.size(), value); }

private:
    std::vector<T> cells_;
    int h_ = 0;
};

class WalkGrid {
public:
    // gridW = w, gridH = h; direction and moved reallocated, their contents discarded.
    void AllocateWalk(int16_t w, int16_t h) {
        gridW = w;
        gridH = h;
        direction.Allocate(w, h, -1);
        moved.Allocate(w, h, 0);
    }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < gridW && y < gridH; }

    // The move choice, after every cell's direction is set for the step: for each
    // empty cell (direction -1), its neighbours in direction order 0 to 3 inside
    // the grid whose own direction lands on it are the candidates; a single
    // candidate N gets moved(N) = accept(x, y) of N. moved is cleared first.
    template <class Accept> void ChooseMoves(Accept&& accept) {
        moved.Fill(0);
        for (int16_t x = 0; x < gridW; ++x)
            for (int16_t y = 0; y < gridH; ++y) {
                if (direction(x, y) != -1)
                    continue;
                int candidates = 0;
                int16_t cx = 0, cy = 0;
                for (int16_t d = 0; d < 4; ++d) {
                    int16_t nx = x, ny = y;
                    StepInDirection(d, nx, ny);
                    if (!Inside(nx, ny) || direction(nx, ny) != static_cast<int16_t>((d + 2) % 4))
                        continue;
                    ++candidates;
                    cx = nx;
                    cy = ny;
                }
                if (candidates == 1 && accept(cx, cy))
                    moved(cx, cy) = 1;
            }
    }

    // The moves: for each moved cell, move(x, y, dx, dy) takes its occupant to the
    // cell it faces.
    template <class Move> void ApplyMoves(Move&& move) {
        for (int16_t x = 0; x < gridW; ++x)
            for (int16_t y = 0; y < gridH; ++y)
                if (moved(x, y)) {
                    int16_t dx = x, dy = y;
                    StepInDirection(direction(x, y), dx, dy);
                    move(x, y, dx, dy);
                }
    }

    int16_t gridW = 0;
    int16_t gridH = 0;
    CellArray<int16_t> direction;
    CellArray<uint8_t> moved;
};

} // namespace gridwalk
