#include "EpidemicGrid.h"

#include "Conversions.h"

namespace {

// The single-precision comparison a > b of the model's random tests.
bool SingleGreater(double a, double b) {
    return static_cast<float>(a) > static_cast<float>(b);
}

} // namespace

void EpidemicGrid::AllocateGrid(int16_t w, int16_t h) {
    AllocateWalk(w, h);
    sickness.Allocate(w, h, -1);
}

void EpidemicGrid::ClearGrid() {
    sickness.Fill(-1);
}

void EpidemicGrid::SkipOccupied(int16_t& x, int16_t& y) const {
    while (y < gridH && sickness(x, y) != -1) {
        if (++x >= gridW) {
            x = 0;
            ++y;
        }
    }
}

void EpidemicGrid::CountPersons(int density) {
    personCount = static_cast<int16_t>(platform::RoundHalfEven(density * gridW * gridH / 100.0));
}

void EpidemicGrid::PlacePersons(int initPercent) {
    const int cells = gridW * gridH;
    for (int i = 0; i < personCount && i < cells; ++i) {
        const int e = static_cast<int>(Rnd() * (cells - i));
        int16_t x = 0, y = 0;
        SkipOccupied(x, y);
        for (int k = 0; k < e; ++k) {
            if (++x >= gridW) {
                x = 0;
                ++y;
            }
            SkipOccupied(x, y);
        }
        sickness(x, y) = SingleGreater(initPercent / 100.0, Rnd()) ? 1 : 0;
    }
}

void EpidemicGrid::SimulationStep(int ratePercent, int thresholdPercent) {
    // Directions and recovery.
    for (int16_t x = 0; x < gridW; ++x)
        for (int16_t y = 0; y < gridH; ++y) {
            double& s = sickness(x, y);
            if (s != -1) {
                direction(x, y) = gridwalk::RandomDirection(Rnd());
                s = s - ratePercent * s / 100;
            } else {
                direction(x, y) = -1;
            }
        }
    // Contacts of persons facing each other.
    for (int16_t x = 0; x < gridW; ++x)
        for (int16_t y = 0; y < gridH; ++y) {
            int16_t qx, qy;
            if (direction(x, y) == 1 && y <= gridH - 2 && direction(x, y + 1) == 3) {
                qx = x;
                qy = static_cast<int16_t>(y + 1);
            } else if (direction(x, y) == 0 && x <= gridW - 2 && direction(x + 1, y) == 2) {
                qx = static_cast<int16_t>(x + 1);
                qy = y;
            } else {
                continue;
            }
            // Two draws, one per test, whatever the outcome; the second test sees the first's result.
            double& p = sickness(x, y);
            double& q = sickness(qx, qy);
            const double r1 = Rnd();
            if (thresholdPercent / 100.0 >= p && SingleGreater(q, r1))
                p = 1;
            const double r2 = Rnd();
            if (thresholdPercent / 100.0 >= q && SingleGreater(p, r2))
                q = 1;
        }
    ChooseMoves([](int16_t, int16_t) { return true; });
    ApplyMoves([this](int16_t x, int16_t y, int16_t dx, int16_t dy) {
        sickness(dx, dy) = sickness(x, y);
        sickness(x, y) = -1;
    });
}
