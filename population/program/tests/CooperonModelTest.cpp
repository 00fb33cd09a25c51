#include "DisplayOrder.h"
#include "SettingsRules.h"
#include "SituationStats.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <vector>

using namespace cooperon;

namespace {

// A population given member by member: response genes (bit s answers
// situation s) and an initial memory.
class FakePopulation final : public PopulationReader {
public:
    std::vector<std::pair<uint64_t, int32_t>> members;

    int32_t GetSize() const override { return int32_t(members.size()); }
    int32_t GetGene(int32_t m, int32_t bit) const override {
        return int32_t(members[std::size_t(m)].first >> bit & 1);
    }
    int32_t GetInitial(int32_t m) const override { return members[std::size_t(m)].second; }
};

TEST(SituationStats, SharesAreFractionsOfTheMembersAndTheAverageTheirMean) {
    FakePopulation population;
    population.members = {{0b101, 3}, {0b001, 3}, {0b100, 63}, {0, 0}};
    SituationStats stats;
    stats.GatherStats(population);
    EXPECT_EQ((std::vector<double>(stats.curResponse.begin(), stats.curResponse.begin() + 3)),
              (std::vector<double>{0.5, 0, 0.5}));
    EXPECT_EQ(stats.curInitial[3], 0.5);
    EXPECT_EQ(stats.curInitial[63], 0.25);

    population.members = {{~uint64_t(0), 3}};
    stats.GatherStats(population);
    Shares response, initial;
    stats.ChartShares(true, 2, response, initial);
    EXPECT_EQ(response[0], 0.75);
    EXPECT_EQ(response[1], 0.5);
    EXPECT_EQ(initial[3], 0.75);
    EXPECT_EQ(initial[63], 0.125);

    stats.ClearSums();
    population.members.clear(); // shares of 0, never a division by 0
    stats.GatherStats(population);
    EXPECT_EQ(stats.curResponse, Shares{});
    EXPECT_EQ(stats.sumInitial, Shares{});
}

TEST(MemberOrder, GeneZeroComesFirstAndTiesKeepIndexOrder) {
    FakePopulation population;
    const uint64_t gene0 = 1, gene63 = uint64_t(1) << 63;
    population.members = {{gene0, 1}, {gene63, 2}, {gene0 | gene63, 0},
                          {0, 2},     {gene63, 1}, {gene0, 0}};
    MemberOrder order;
    order.SortPopulation(population, kByResponseGenes);
    EXPECT_EQ(order.memberOrder(), (std::vector<int16_t>{3, 1, 4, 0, 5, 2}));
    order.SortPopulation(population, kByInitialMemory);
    EXPECT_EQ(order.memberOrder(), (std::vector<int16_t>{2, 5, 0, 4, 1, 3}));

    // Bisecting for the insertion point gives a stable sort.
    std::mt19937 random(7);
    for (int size : {0, 1, 2, 17, 500}) {
        std::vector<int> keys;
        for (int i = 0; i < size; ++i)
            keys.push_back(int(random() % 5));
        std::vector<int16_t> sorted(keys.size());
        std::iota(sorted.begin(), sorted.end(), int16_t(0));
        std::vector<int16_t> expected = sorted;
        const auto before = [&](int16_t a, int16_t b) { return keys[a] < keys[b]; };
        std::stable_sort(expected.begin(), expected.end(), before);
        StableInsertionSort(std::span<int16_t>(sorted), before);
        EXPECT_EQ(sorted, expected) << size;
    }
}

TEST(ChartOrder, SharesOrderTheRowsAndTiesStayInSituationOrder) {
    Shares response, initial;
    response.fill(0.5);
    initial.fill(0.25);
    response[10] = response[40] = 0.25;
    response[3] = 0.75;
    initial[50] = initial[7] = 0.5;
    initial[2] = 0;
    const auto first = [](const std::array<int16_t, kSituations>& order) {
        return std::vector<int>{order[0], order[1], order[2], order[3], order[4], order[63]};
    };
    EXPECT_EQ(first(ChartOrder(kByResponseShare, response, initial)),
              (std::vector<int>{10, 40, 0, 1, 2, 3}));
    EXPECT_EQ(first(ChartOrder(kByInitialShare, response, initial)),
              (std::vector<int>{7, 50, 0, 1, 3, 2}));
    EXPECT_EQ(first(ChartOrder(kBySituation, response, initial)),
              (std::vector<int>{0, 1, 2, 3, 4, 63}));
}

TEST(SettingsRules, ProbabilitiesHaveSixteenDecimalsWithAPoint) {
    EXPECT_EQ(FormatProbability(1.0 / 70), "0.0142857142857143");
    EXPECT_EQ(FormatProbability(2.0 / 70), "0.0285714285714286");
    EXPECT_EQ(FormatProbability(1), "1.0000000000000000");
}

} // namespace
