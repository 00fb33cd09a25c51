#pragma once

#include "PopulationReader.h"

#include <cstdint>

// The situation chart's statistics: for the current generation, the share of
// members answering each situation with move 1 and the share starting from it;
// and the running sums of both over every generation since they were cleared.

namespace cooperon {

class SituationStats {
public:
    // Reads the current shares from the population and adds them to the sums.
    // An empty population gives shares of 0.
    void GatherStats(const PopulationReader& population);
    void ClearSums();

    // The shares the chart shows: the current ones, or the sums divided by
    // generation (the generations gathered since the sums were cleared).
    void ChartShares(bool average, int32_t generation, Shares& response, Shares& initial) const;

    Shares curResponse{};
    Shares curInitial{};
    Shares sumResponse{};
    Shares sumInitial{};
};

} // namespace cooperon
