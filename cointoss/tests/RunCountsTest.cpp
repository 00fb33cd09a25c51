#include "RunCounts.h"

#include <gtest/gtest.h>

namespace {

using cointoss::RunCounts;

TEST(RunCounts, CountsRunsOfOnesByLength) {
    RunCounts counts;
    std::string seq = "0110111";
    EXPECT_EQ(counts.Count(seq), 3);
    EXPECT_EQ(counts.Counts(), (std::vector<int32_t>{0, 0, 1, 1}));

    // A sequence ending in ones counts its last run; the array never shrinks.
    seq = "1111";
    EXPECT_EQ(counts.Count(seq), 4);
    EXPECT_EQ(counts.Counts(), (std::vector<int32_t>{0, 0, 0, 0, 1}));
    seq = "10";
    EXPECT_EQ(counts.Count(seq), 1);
    EXPECT_EQ(counts.Counts(), (std::vector<int32_t>{0, 1, 0, 0, 0}));

    seq = "000";
    EXPECT_EQ(counts.Count(seq), 0);
    seq = "";
    EXPECT_EQ(counts.Count(seq), 0);
}

TEST(RunCounts, OtherCharactersAreDeleted) {
    RunCounts counts;
    std::string seq = "1 0\r\n1";
    EXPECT_EQ(counts.Count(seq), 1);
    EXPECT_EQ(seq, "101");
    EXPECT_EQ(counts.Counts()[1], 2);
    // Deleted characters never join two runs into one... they close up, as the sequence does.
    seq = "11x11";
    EXPECT_EQ(counts.Count(seq), 4);
    EXPECT_EQ(seq, "1111");
}

TEST(RunCounts, RunsBeyond16BitsAreCounted) {
    RunCounts counts;
    std::string seq(40000, '1');
    seq += "0" + std::string(3, '1');
    EXPECT_EQ(counts.Count(seq), 40000);
    EXPECT_EQ(counts.Counts()[40000], 1);
    EXPECT_EQ(counts.Counts()[3], 1);
}

TEST(RunCounts, GeneratedLengthsAreRoundedAndBounded) {
    const struct {
        const char* text;
        bool held;
        int32_t n;
    } cases[] = {{"-7", true, 0},         {"2.5", true, 2},         {"3.5", true, 4},
                 {"abc", true, 0},        {"-1e300", true, 0},      {"10000000", true, 10000000},
                 {"1e8", true, 100000000}, {"100000000.5", true, 100000000}, {"100000001", false, -1},
                 {"2147483648", false, -1}, {"1e10", false, -1}};
    for (const auto& c : cases) {
        int32_t n = -1;
        EXPECT_EQ(cointoss::GeneratedLength(c.text, n), c.held) << c.text;
        EXPECT_EQ(n, c.n) << c.text;
    }
    int i = 0;
    EXPECT_EQ(cointoss::Generate(5, [&] { return ++i % 2 == 0; }), "01010");
    EXPECT_EQ(cointoss::Generate(0, [] { return true; }), "");
}

} // namespace
