#include "SituationStats.h"

namespace cooperon {

void SituationStats::GatherStats(const PopulationReader& population) {
    const int32_t size = population.GetSize();
    curResponse.fill(0);
    curInitial.fill(0);
    for (int32_t i = 0; i < size; ++i) {
        for (int s = 0; s < kSituations; ++s)
            curResponse[s] += population.GetGene(i, s);
        const int32_t initial = population.GetInitial(i);
        if (initial >= 0 && initial < kSituations)
            curInitial[initial] += 1;
    }
    for (int s = 0; s < kSituations; ++s) {
        if (size > 0) {
            curResponse[s] /= size;
            curInitial[s] /= size;
        }
        sumResponse[s] += curResponse[s];
        sumInitial[s] += curInitial[s];
    }
}

void SituationStats::ClearSums() {
    sumResponse.fill(0);
    sumInitial.fill(0);
}

void SituationStats::ChartShares(bool average, int32_t generation, Shares& response,
                                 Shares& initial) const {
    if (!average) {
        response = curResponse;
        initial = curInitial;
        return;
    }
    for (int s = 0; s < kSituations; ++s) {
        response[s] = sumResponse[s] / generation;
        initial[s] = sumInitial[s] / generation;
    }
}

} // namespace cooperon
