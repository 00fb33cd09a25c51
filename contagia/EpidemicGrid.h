#pragma once

#include "RuntimeRandom.h"
#include "WalkGrid.h"

// The epidemic: persons with a sickness level in [0, 1] wander on the grid; the
// level decays by the recovery rate every step, and two persons facing each
// other on adjacent cells may infect each other when the one infected is at or
// below the threshold. Percentages are the sliders' whole values, 0 to 100.
class EpidemicGrid : public gridwalk::WalkGrid {
public:
    explicit EpidemicGrid(platform::RuntimeRandom& random) : random_(random) {}

    // gridW = w, gridH = h; every array reallocated.
    void AllocateGrid(int16_t w, int16_t h);
    // Every cell empty.
    void ClearGrid();
    // While (x, y) is occupied, the next cell in x-fastest order.
    void SkipOccupied(int16_t& x, int16_t& y) const;
    // personCount = density% of the cells, rounded half to even.
    void CountPersons(int density);
    // personCount persons on random empty cells, each sick with initPercent% chance.
    void PlacePersons(int initPercent);
    // One step; the rate and the threshold are read for this step.
    void SimulationStep(int ratePercent, int thresholdPercent);

    // -1 on an empty cell, else the sickness level of the person there.
    gridwalk::CellArray<double> sickness;
    int16_t personCount = 0;

private:
    double Rnd() { return random_.Next(); }

    platform::RuntimeRandom& random_;
};
