// The library PRNG through its exports, bound by name as a program binds them: the mapping from
// the generator's results to the draws, the statistics of a million draws from fixed seeds, and
// the seed variable repeating a run.

#include "PRNG.h"

#include "LibraryBinding.h"
#include "Xoshiro256.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

platform::BoundFunction<decltype(::PRNGOpenDouble)> OpenDouble(PRNG_PATH, "_Z14PRNGOpenDoublev");
platform::BoundFunction<decltype(::PRNGClosedDouble)> ClosedDouble(PRNG_PATH,
                                                                   "_Z16PRNGClosedDoublev");
platform::BoundFunction<decltype(::PRNGUnsignedLong)> UnsignedLong(PRNG_PATH,
                                                                   "_Z16PRNGUnsignedLongv");
platform::BoundFunction<decltype(::PRNGSetSeed)> SetSeed(PRNG_PATH, "_Z11PRNGSetSeedm");

constexpr int kDraws = 1000000;
constexpr uint64_t kTop = (uint64_t{1} << 53) - 1; // the largest 53-bit integer

// The 64-bit result whose 53 high bits are k.
constexpr uint64_t Bits(uint64_t k) {
    return k << 11;
}

TEST(PrngMapping, OpenDrawsStayInsideWithHalfOnEachSide) {
    const std::pair<uint64_t, double> cases[] = {
        {Bits(0), 0x1p-54},                             // the smallest: above 0
        {Bits(kTop), 1 - 0x1p-53},                      // the largest: below 1
        {Bits(kTop) | 0x7FF, 1 - 0x1p-53},              // the low bits play no part
        {Bits((uint64_t{1} << 52) - 1), 0.5 - 0x1p-54}, // the last below one half
        {Bits(uint64_t{1} << 52), 0.5},                 // the first at one half
        {Bits(3), 7 * 0x1p-54},                         // (k + 1/2) / 2^53
    };
    for (const auto& [bits, draw] : cases) {
        EXPECT_EQ(prng::OpenUnit(bits), draw) << std::hex << bits;
    }
    // Every one of the 2^53 results is a draw of its own: neighbours differ, at both ends and at
    // one half.
    for (const uint64_t k : {uint64_t{0}, (uint64_t{1} << 52) - 2, (uint64_t{1} << 52) - 1,
                             uint64_t{1} << 52, kTop - 1}) {
        EXPECT_LT(prng::OpenUnit(Bits(k)), prng::OpenUnit(Bits(k + 1))) << k;
    }
}

TEST(PrngMapping, ClosedDrawsReachBothEndsAndWordsTakeTheHighBits) {
    EXPECT_EQ(prng::ClosedUnit(Bits(0)), 0.0);
    EXPECT_EQ(prng::ClosedUnit(Bits(kTop)), 1.0);
    EXPECT_EQ(prng::ClosedUnit(~uint64_t{0}), 1.0);
    EXPECT_LT(prng::ClosedUnit(Bits(kTop - 1)), 1.0);
    EXPECT_GT(prng::ClosedUnit(Bits(1)), 0.0);
    EXPECT_NEAR(prng::ClosedUnit(Bits(uint64_t{1} << 52)), 0.5, 0x1p-52);
    EXPECT_EQ(prng::Word32(0x123456789ABCDEF0), 0x12345678u);
    EXPECT_EQ(prng::Word32(~uint64_t{0}), 0xFFFFFFFFu);
}

TEST(PrngLibrary, OpenDrawsNeverReachTheEndsAndFallEvenlyAboutOneHalf) {
    SetSeed(20240601);
    int atLeastHalf = 0;
    for (int i = 0; i < kDraws; ++i) {
        const double u = OpenDouble();
        ASSERT_TRUE(u > 0 && u < 1) << u;
        atLeastHalf += u >= 0.5;
    }
    // One standard error of the share is 0.0005; four of them.
    EXPECT_NEAR(atLeastHalf / double(kDraws), 0.5, 4 * 0.5 / std::sqrt(double(kDraws)));
}

// The chi-square statistic of counts expected equal.
double ChiSquare(const std::vector<int>& counts, int total) {
    const double expected = double(total) / counts.size();
    double sum = 0;
    for (int count : counts) {
        sum += (count - expected) * (count - expected) / expected;
    }
    return sum;
}

TEST(PrngLibrary, DrawsFillAHundredBucketsEvenly) {
    // For 99 degrees of freedom, 0.1 % of fair samples lie below 61.1 and 0.1 % above 148.3.
    const std::pair<const char*, std::function<int()>> draws[] = {
        {"open", [] { return int(OpenDouble() * 100); }},
        {"closed", [] { return std::min(int(ClosedDouble() * 100), 99); }},
        {"word", [] { return int((uint64_t{UnsignedLong()} * 100) >> 32); }},
        {"pairs", [] { return int(OpenDouble() * 10) * 10 + int(OpenDouble() * 10); }},
    };
    for (const auto& [name, bucket] : draws) {
        SetSeed(1234567);
        std::vector<int> counts(100, 0);
        for (int i = 0; i < kDraws; ++i) {
            ++counts.at(bucket());
        }
        const double chi = ChiSquare(counts, kDraws);
        EXPECT_GT(chi, 61.1) << name;
        EXPECT_LT(chi, 148.3) << name;
    }
}

std::vector<double> Draws(uint64_t seed, int n) {
    SetSeed(seed);
    std::vector<double> draws;
    for (int i = 0; i < n; ++i) {
        draws.push_back(OpenDouble());
    }
    return draws;
}

TEST(PrngLibrary, ASeedRepeatsItsSequence) {
    EXPECT_EQ(Draws(42, 20), Draws(42, 20));
    EXPECT_NE(Draws(42, 20), Draws(43, 20));
    EXPECT_NE(Draws(0, 20), Draws(1, 20));
}

// The draws a new process prints, with the seed variable set to a value or unset.
std::string DrawsOfAProcess(const char* seed) {
    const std::string command =
        std::string(seed ? "env VERITOPE_PRNG_SEED='" : "env -u VERITOPE_PRNG_SEED") +
        (seed ? std::string(seed) + "'" : "") + " " PRNG_DRAWS_PATH " 6 2>/dev/null";
    FILE* process = ::popen(command.c_str(), "r");
    EXPECT_NE(process, nullptr);
    std::string out;
    char buffer[256];
    while (process && std::fgets(buffer, sizeof buffer, process)) {
        out += buffer;
    }
    EXPECT_EQ(process ? ::pclose(process) : -1, 0) << command;
    return out;
}

TEST(PrngLibrary, TheSeedVariableRepeatsARunAndIsTheSeedExport) {
    const std::string seeded = DrawsOfAProcess("987654321");
    EXPECT_EQ(std::count(seeded.begin(), seeded.end(), '\n'), 6);
    EXPECT_EQ(DrawsOfAProcess("987654321"), seeded);
    EXPECT_NE(DrawsOfAProcess("987654322"), seeded);
    std::string same;
    char line[64];
    for (double draw : Draws(987654321, 6)) {
        std::snprintf(line, sizeof line, "%a\n", draw);
        same += line;
    }
    EXPECT_EQ(same, seeded);
    // Unset, or not a number in range: each run its own sequence from the system's entropy.
    for (const char* seed :
         {static_cast<const char*>(nullptr), "12x", "-1", "18446744073709551616"}) {
        EXPECT_NE(DrawsOfAProcess(seed), DrawsOfAProcess(seed)) << (seed ? seed : "unset");
    }
    EXPECT_EQ(DrawsOfAProcess("18446744073709551615"), DrawsOfAProcess("18446744073709551615"));
}

// A refused value is reported on one short line however long it is.
TEST(PrngLibrary, TheRefusalOfALongSeedIsOneLine) {
    ::setenv("VERITOPE_PRNG_SEED", (std::string(100000, '9') + "\nx").c_str(), 1);
    FILE* process = ::popen(PRNG_DRAWS_PATH " 1 2>&1 >/dev/null", "r");
    ::unsetenv("VERITOPE_PRNG_SEED");
    ASSERT_NE(process, nullptr);
    std::string report;
    char buffer[4096];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, process))
        report.append(buffer, got);
    EXPECT_EQ(::pclose(process), 0);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report.substr(0, 300);
    EXPECT_LT(report.size(), 160u);
    EXPECT_EQ(report.rfind("PRNG: VERITOPE_PRNG_SEED=\"9999", 0), 0u) << report.substr(0, 300);
}

TEST(PrngLibrary, ExportsTheFourEntriesAlone) {
    FILE* nm = ::popen("nm -D --defined-only " PRNG_PATH, "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> names;
    char line[512];
    char name[400];
    while (std::fgets(line, sizeof line, nm)) {
        if (std::sscanf(line, "%*s %*s %399s", name) == 1) {
            names.insert(name);
        }
    }
    ASSERT_EQ(::pclose(nm), 0);
    EXPECT_EQ(names, (std::set<std::string>{"_Z14PRNGOpenDoublev", "_Z16PRNGClosedDoublev",
                                            "_Z16PRNGUnsignedLongv", "_Z11PRNGSetSeedm"}));
}

} // namespace
