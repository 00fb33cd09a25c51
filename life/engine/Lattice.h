#pragma once

#include <cstdint>

// The five neighbourhoods, and none for a neighbour count without offsets.
enum class Lattice : uint8_t { kNone, kSquare4, kSquare8, kHex6, kTri3, kTri12 };

// Columns up to this far away hold neighbours.
constexpr int LatticeReach(Lattice lattice) {
    return lattice == Lattice::kTri12 ? 2 : lattice == Lattice::kNone ? 0 : 1;
}
