#pragma once

#include "ChangeRecord.h"
#include "Lattice.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

// The live cells as tiles of 64 x 64 cells, a 64-bit word per column (bit i is
// row i of the tile), found by their tile coordinates in a hash map and linked
// to their eight neighbour tiles. A step recomputes only the tiles whose
// neighbourhood changed in the step before (or by a put, or by a new rule):
// any other tile would come out as it is. Tile coordinates wrap around like
// cell coordinates, since 2^32 is a whole number of tiles, so the plane is the
// same torus of 2^32 x 2^32 cells on which neighbour coordinates wrap.
//
// Memory and time grow with the number of tiles that hold or border live
// cells, never with the extent of the plane: tiles that are empty and did not
// change are dropped.
class TilePlane {
public:
    TilePlane();

    bool Get(int32_t x, int32_t y) const;
    // Sets or clears a cell; true when that changed it.
    bool Put(int32_t x, int32_t y, bool live);
    // Every tile is recomputed at the next step (after a change of the rule).
    void TouchAll() { allTouched_ = true; }

    // The first live cell at or after (x, y) in ascending x, then y.
    bool FindFrom(int32_t x, int32_t y, int32_t& foundX, int32_t& foundY);

    // One generation under the survival and birth tables (entry k for k live
    // neighbours; entries beyond a table read 0; a count of 0 is never born).
    // Writes the deaths, then the births, each in ascending x, then y.
    void Step(Lattice lattice, const std::vector<uint8_t>& survival,
              const std::vector<uint8_t>& birth, ChangeRecord& record);

private:
    static constexpr uint32_t kNoTile = UINT32_MAX;
    // Neighbour slot of the tile dx, dy away (each -1..1); slot 4 is the tile itself.
    static constexpr int Slot(int dx, int dy) { return (dx + 1) * 3 + dy + 1; }

    struct Tile {
        int32_t tx = 0; // x >> 6
        int32_t ty = 0; // y >> 6
        uint32_t near[9] = {};
        uint64_t stamp = 0;   // the step that last scheduled it
        bool touched = false; // changed since it was last computed
        bool changed = false;
        uint64_t cells[64] = {};
        uint64_t next[64] = {};
    };

    static uint64_t Key(int32_t tx, int32_t ty) {
        return (uint64_t{static_cast<uint32_t>(tx)} << 32) | static_cast<uint32_t>(ty);
    }
    uint32_t Find(int32_t tx, int32_t ty) const;
    uint32_t Create(int32_t tx, int32_t ty);
    void Drop(uint32_t tile);
    void Touch(uint32_t tile);
    void Schedule(uint32_t tile);
    // Makes the neighbour tiles that the tile's live cells reach.
    void Grow(uint32_t tile, int reach);
    struct Rule;
    template <Lattice L> void Compute(Tile& tile, const Rule& rule);
    template <Lattice L> void ComputeAll(const Rule& rule);
    void SortTiles();

    std::deque<Tile> tiles_; // stays in place as it grows
    std::vector<uint32_t> free_;
    std::unordered_map<uint64_t, uint32_t> index_;
    std::vector<uint32_t> touched_; // tiles changed since they were computed
    bool allTouched_ = false;
    std::vector<uint32_t> scheduled_;
    std::vector<uint32_t> changed_;
    uint64_t stepNumber_ = 0;
    // Tiles in ascending (tx, ty), for finding cells in order; rebuilt when
    // tiles came or went.
    std::vector<uint32_t> sorted_;
    bool sortedValid_ = true;
};
