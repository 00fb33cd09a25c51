#pragma once

#include "PopulationReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The orders the two pictures show their rows in. Both are stable insertion
// sorts: an entry moves down while it sorts strictly before its predecessor,
// so that equal entries keep index order.

namespace cooperon {

// Sorts order in place by before(a, b), "a sorts strictly before b". The
// insertion point is found by bisection over the sorted part, which is where
// moving down one step at a time would stop.
template <class Index, class Before>
void StableInsertionSort(std::span<Index> order, Before before) {
    for (std::size_t i = 1; i < order.size(); ++i) {
        const Index entry = order[i];
        const auto at = std::upper_bound(order.begin(), order.begin() + i, entry,
                                         [&](Index a, Index b) { return before(a, b); });
        std::move_backward(at, order.begin() + i, order.begin() + i + 1);
        *at = entry;
    }
}

// populationOrder 1: members by their 64 response genes read as a string of
// bits, gene 0 first, 0 before 1; 2: by initial memory.
constexpr int16_t kByResponseGenes = 1;
constexpr int16_t kByInitialMemory = 2;

// The member shown in each population row.
class MemberOrder {
public:
    // Rebuilds the order as 0 to size-1 and sorts it by populationOrder (any
    // other value leaves index order). Rows are 16-bit: at most 32767 members.
    void SortPopulation(const PopulationReader& population, int16_t populationOrder);

    const std::vector<int16_t>& memberOrder() const { return memberOrder_; }
    int32_t Rows() const { return int32_t(memberOrder_.size()); }
    int16_t operator[](int32_t row) const { return memberOrder_[std::size_t(row)]; }

private:
    std::vector<int16_t> memberOrder_;
    // Each member's sort key, kept between generations.
    std::vector<uint64_t> keys_;
};

// chartOrder 1: situation order; 2: ascending by response share; 3: descending
// by initial share.
constexpr int16_t kBySituation = 1;
constexpr int16_t kByResponseShare = 2;
constexpr int16_t kByInitialShare = 3;

// The situation shown in each chart row.
std::array<int16_t, kSituations> ChartOrder(int16_t chartOrder, const Shares& response,
                                            const Shares& initial);

} // namespace cooperon
