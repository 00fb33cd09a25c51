#pragma once

#include "ChangeRecord.h"
#include "Lattice.h"

#include <cstddef>
#include <cstdint>
#include <memory>
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
    // Writes its changed column words into record in ascending x, then y.
    void Step(Lattice lattice, const std::vector<uint8_t>& survival,
              const std::vector<uint8_t>& birth, ChangeRecord& record);

private:
    static constexpr uint32_t kNoTile = UINT32_MAX;
    // Neighbour slot of the tile dx, dy away (each -1..1); slot 4 is the tile itself.
    static constexpr int Slot(int dx, int dy) { return (dx + 1) * 3 + dy + 1; }

    struct Tile {
        int32_t tx = 0; // x >> 6
        int32_t ty = 0; // y >> 6
        uint32_t self = 0;
        uint32_t near[9] = {};
        uint64_t stamp = 0;   // the step that last scheduled it
        bool touched = false; // changed since it was last computed
        // Columns changed since it was last computed, and of them those whose
        // row 0 or row 63 changed, which the tiles below and above see.
        uint64_t changedColumns = 0;
        uint64_t southColumns = 0;
        uint64_t northColumns = 0;
        // Columns that the step being made computes, and those it changes.
        uint64_t active = 0;
        uint64_t stepChanged = 0;
        // Between steps next holds the same as cells.
        uint64_t cells[64] = {};
        uint64_t next[64] = {};
    };

    static uint64_t Key(int32_t tx, int32_t ty) {
        return (uint64_t{static_cast<uint32_t>(tx)} << 32) | static_cast<uint32_t>(ty);
    }
    uint32_t Find(int32_t tx, int32_t ty) const;
    uint32_t Create(int32_t tx, int32_t ty);
    void Drop(uint32_t tile);
    // Marks rows of a column changed; the tile is computed at the next step.
    void Touch(uint32_t tile, int column, uint64_t rows);
    void Schedule(uint32_t tile);
    // Schedules the tile and the neighbour tiles that its changes reach,
    // making those that are missing.
    void ScheduleAround(uint32_t tile, int reach);

public:
    struct Rule;

private:
    template <Lattice L, bool kLife> void Compute(Tile& tile, const Rule& rule);
    template <Lattice L> void ComputeAll(const Rule& rule);
    void SortTiles();

    Tile& At(uint32_t id) { return *tiles_[id]; }
    const Tile& At(uint32_t id) const { return *tiles_[id]; }

    std::vector<std::unique_ptr<Tile>> tiles_;
    std::vector<uint32_t> free_;
    std::unordered_map<uint64_t, uint32_t> index_;
    std::vector<uint32_t> touched_; // tiles changed since they were computed
    bool allTouched_ = false;
    std::vector<uint32_t> scheduled_;
    std::vector<Tile*> changed_;
    std::vector<std::pair<uint64_t, uint32_t>> order_;
    std::vector<ChangeWord> words_; // a step's changed column words

    uint64_t stepNumber_ = 0;
    // Tiles in ascending (tx, ty), for finding cells in order; rebuilt when
    // tiles came or went.
    std::vector<uint32_t> sorted_;
    bool sortedValid_ = true;
};
