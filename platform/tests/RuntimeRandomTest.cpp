#include "RuntimeRandom.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using platform::RuntimeRandom;

TEST(RuntimeRandomTest, UnseededSequenceIsTheRuntimesOwn) {
    RuntimeRandom random;
    // The first numbers every unseeded run draws.
    EXPECT_EQ(random.Next(), 11837123.0 / 16777216);
    EXPECT_EQ(random.Next(), 8949370.0 / 16777216);
    EXPECT_EQ(random.Next(), 9722709.0 / 16777216);
}

TEST(RuntimeRandomTest, FullPeriodInsideTheUnitInterval) {
    RuntimeRandom random;
    random.SetState(0);
    std::set<double> seen;
    double lowest = 1, highest = 0;
    for (int i = 0; i < (1 << 16); ++i) {
        const double u = random.Next();
        lowest = std::min(lowest, u);
        highest = std::max(highest, u);
        seen.insert(u);
    }
    EXPECT_EQ(seen.size(), 1u << 16);
    EXPECT_GE(lowest, 0.0);
    EXPECT_LT(highest, 1.0);
    // Every state comes back only after 2^24 steps.
    random.SetState(12345);
    for (int i = 0; i < (1 << 24) - 1; ++i) {
        random.Next();
        ASSERT_NE(random.State(), 12345u) << i;
    }
    random.Next();
    EXPECT_EQ(random.State(), 12345u);
}
