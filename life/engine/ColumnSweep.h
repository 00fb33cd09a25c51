#pragma once

#include "CellMap.h"
#include "Lattice.h"
#include "LifeEngine.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One generation of live cells as columns of 64-row blocks, and the next
// generation computed from it by sweeping each column together with its
// neighbour columns in y order, 64 cells at a time. Memory and time grow with
// the number of live blocks, never with the extent of the plane.
//
// The sweep does no wrap-around at the coordinate limits: FitsWithin tells
// whether a generation may be stepped this way.
class ColumnSweep {
public:
    ColumnSweep();

    void Load(const CellMap& cells);
    // Builds cells from the loaded generation; every cell holds value.
    void Store(CellMap& cells, uint32_t value);
    size_t Size() const { return current_.cells; }

    // No loaded cell has a neighbour beyond the coordinate limits, for
    // neighbours up to reach columns and one row away.
    bool FitsWithin(int reach) const;

    // One generation under the survival and birth tables (entry k for k live
    // neighbours; tables shorter than the lattice's count read 0). Appends the
    // deaths in ascending x, then y, with change -1, and the births likewise
    // with +1. The next generation becomes the loaded one.
    void Step(Lattice lattice, const std::vector<uint8_t>& survival,
              const std::vector<uint8_t>& birth, std::vector<CellChange>& deaths,
              std::vector<CellChange>& births);

private:
    struct Generation {
        std::vector<int32_t> columnX;
        std::vector<uint32_t> columnBegin; // first block of each column, then the end
        std::vector<int32_t> blockKey;     // y >> 6
        std::vector<uint64_t> blockBits;   // bit y & 63
        size_t cells = 0;

        void Clear();
    };

    // Counts that a rule selects, as lists for the bit-sliced compare.
    struct RuleCounts {
        uint8_t keep[16];
        uint8_t keepCount = 0;
        uint8_t born[16];
        uint8_t bornCount = 0;
    };

    template <Lattice L>
    void Sweep(const RuleCounts& rule, std::vector<CellChange>& deaths,
               std::vector<CellChange>& births);

    Generation current_;
    Generation next_;
    std::vector<uint32_t> cellBegin_; // scratch of Store
    std::vector<int32_t> cellY_;
};
