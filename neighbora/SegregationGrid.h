#pragma once

#include "RuntimeRandom.h"
#include "WalkGrid.h"

// The segregation model: residents of kind 0 and 1 on the grid; each step a
// resident moves one cell forward into an empty cell that no other resident
// faces, but only while the share of the other kind in its 3 x 3 block exceeds
// the acceptable percentage. Percentages are the sliders' whole values.
class SegregationGrid : public gridwalk::WalkGrid {
public:
    explicit SegregationGrid(platform::RuntimeRandom& random) : random_(random) {}

    void AllocateGrid(int16_t w, int16_t h);
    void ClearGrid();
    // Each cell independently: occupied with density% chance, then of kind 0
    // with oneKind% chance.
    void PlaceResidents(int density, int oneKind);
    void SimulationStep(int acceptablePercent);

    // -1 on an empty cell, else the kind of the resident there.
    gridwalk::CellArray<int16_t> kind;
    // kindCounts(x, y, k): residents of kind k in the 3 x 3 block around (x, y), inside the grid.
    int16_t kindCounts(int x, int y, int k) const { return counts_[k](x, y); }

private:
    double Rnd() { return random_.Next(); }

    platform::RuntimeRandom& random_;
    gridwalk::CellArray<int16_t> counts_[2];
};
