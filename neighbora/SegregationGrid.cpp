#include "SegregationGrid.h"

#include <algorithm>

namespace {

bool SingleGreater(double a, double b) {
    return static_cast<float>(a) > static_cast<float>(b);
}

} // namespace

void SegregationGrid::AllocateGrid(int16_t w, int16_t h) {
    AllocateWalk(w, h);
    kind.Allocate(w, h, -1);
    counts_[0].Allocate(w, h, 0);
    counts_[1].Allocate(w, h, 0);
}

void SegregationGrid::ClearGrid() {
    kind.Fill(-1);
}

void SegregationGrid::PlaceResidents(int density, int oneKind) {
    for (int16_t x = 0; x < gridW; ++x)
        for (int16_t y = 0; y < gridH; ++y) {
            if (SingleGreater(density / 100.0, Rnd()))
                kind(x, y) = SingleGreater(oneKind / 100.0, Rnd()) ? 0 : 1;
            else
                kind(x, y) = -1;
        }
}

void SegregationGrid::SimulationStep(int acceptablePercent) {
    counts_[0].Fill(0);
    counts_[1].Fill(0);
    for (int16_t x = 0; x < gridW; ++x)
        for (int16_t y = 0; y < gridH; ++y) {
            const int16_t k = kind(x, y);
            if (k == -1) {
                direction(x, y) = -1;
                continue;
            }
            direction(x, y) = gridwalk::RandomDirection(Rnd());
            for (int m = std::max(x - 1, 0); m <= std::min(x + 1, gridW - 1); ++m)
                for (int g = std::max(y - 1, 0); g <= std::min(y + 1, gridH - 1); ++g)
                    ++counts_[k](m, g);
        }
    ChooseMoves([&](int16_t x, int16_t y) {
        const double acceptable = acceptablePercent / 100.0;
        const int16_t k = kind(x, y);
        const double own = counts_[k](x, y);
        const double total = counts_[0](x, y) + counts_[1](x, y);
        return acceptable < 1 - own / total;
    });
    ApplyMoves([this](int16_t x, int16_t y, int16_t dx, int16_t dy) {
        kind(dx, dy) = kind(x, y);
        kind(x, y) = -1;
    });
}
