// Tests of the cell map's trees: every way of filling and emptying them keeps
// them ordered and balanced, checked by Valid() after each change.

#include "CellMap.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <vector>

namespace {

// Builds `columns` columns of `perColumn` cells each.
CellMap Built(uint32_t columns, uint32_t perColumn) {
    std::vector<int32_t> xs;
    std::vector<uint32_t> begin{0};
    std::vector<int32_t> ys;
    for (uint32_t c = 0; c < columns; ++c) {
        xs.push_back(static_cast<int32_t>(c) * 3 - 7);
        for (uint32_t k = 0; k < perColumn; ++k)
            ys.push_back(static_cast<int32_t>(k) * 2 - 5);
        begin.push_back(static_cast<uint32_t>(ys.size()));
    }
    CellMap map;
    map.Build(xs, begin, ys, 1);
    return map;
}

} // namespace

TEST(CellMapTest, BuiltTreesAreBalancedAtEverySize) {
    for (uint32_t n = 1; n <= 17; ++n) {
        const CellMap map = Built(n, n);
        EXPECT_TRUE(map.Valid()) << n;
        EXPECT_EQ(map.Size(), size_t{n} * n);
        EXPECT_TRUE(map.Contains(static_cast<int32_t>(n - 1) * 3 - 7, static_cast<int32_t>(n - 1) * 2 - 5));
    }
}

TEST(CellMapTest, InsertsAndRemovalsKeepTheTreesBalanced) {
    CellMap map;
    // Ascending keys: every insert rotates the same way, in columns and cells.
    for (int32_t k = 0; k < 200; ++k) {
        ASSERT_TRUE(map.Insert(k, 0, 1));
        ASSERT_TRUE(map.Insert(0, k + 1, 1));
        ASSERT_TRUE(map.Valid()) << "after inserting " << k;
    }
    EXPECT_FALSE(map.Insert(5, 0, 2));

    // Removals in shuffled order from a 300-key column and a 300-column row.
    CellMap shuffled;
    std::vector<int32_t> keys(300);
    std::iota(keys.begin(), keys.end(), -150);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    for (int32_t k : keys) {
        shuffled.Insert(k, 0, 1);
        shuffled.Insert(1000, k, 1);
    }
    ASSERT_TRUE(shuffled.Valid());
    std::shuffle(keys.begin(), keys.end(), std::mt19937(11));
    for (int32_t k : keys) {
        ASSERT_TRUE(shuffled.Remove(k, 0));
        ASSERT_TRUE(shuffled.Remove(1000, k));
        ASSERT_TRUE(shuffled.Valid()) << "after removing " << k;
    }
    EXPECT_TRUE(shuffled.Empty());
}
