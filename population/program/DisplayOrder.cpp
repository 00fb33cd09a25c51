#include "DisplayOrder.h"

#include <limits>
#include <numeric>

namespace cooperon {

void MemberOrder::SortPopulation(const PopulationReader& population, int16_t populationOrder) {
    const int32_t size =
        std::clamp<int32_t>(population.GetSize(), 0, std::numeric_limits<int16_t>::max());
    memberOrder_.resize(std::size_t(size));
    std::iota(memberOrder_.begin(), memberOrder_.end(), int16_t(0));
    if (populationOrder != kByResponseGenes && populationOrder != kByInitialMemory)
        return;
    // Reading each genome once: gene 0 in the highest bit, so that comparing
    // the keys as numbers compares the genes as a string, gene 0 first.
    keys_.resize(std::size_t(size));
    for (int32_t m = 0; m < size; ++m) {
        uint64_t key = 0;
        if (populationOrder == kByResponseGenes) {
            for (int s = 0; s < kSituations; ++s)
                key = key << 1 | uint64_t(population.GetGene(m, s) & 1);
        } else {
            key = uint64_t(uint32_t(population.GetInitial(m)));
        }
        keys_[std::size_t(m)] = key;
    }
    StableInsertionSort(std::span<int16_t>(memberOrder_), [this](int16_t a, int16_t b) {
        return keys_[std::size_t(a)] < keys_[std::size_t(b)];
    });
}

std::array<int16_t, kSituations> ChartOrder(int16_t chartOrder, const Shares& response,
                                            const Shares& initial) {
    std::array<int16_t, kSituations> order;
    std::iota(order.begin(), order.end(), int16_t(0));
    if (chartOrder == kByResponseShare) {
        StableInsertionSort(std::span<int16_t>(order),
                            [&](int16_t a, int16_t b) { return response[a] < response[b]; });
    } else if (chartOrder == kByInitialShare) {
        StableInsertionSort(std::span<int16_t>(order),
                            [&](int16_t a, int16_t b) { return initial[a] > initial[b]; });
    }
    return order;
}

} // namespace cooperon
