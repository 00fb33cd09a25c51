// The shared binding of the library PRNG that the programs use, with its scripted draws.

#include "PrngLibrary.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using platform::ScriptedDraws;

std::vector<double> OpenDraws(int n) {
    std::vector<double> draws;
    for (int i = 0; i < n; ++i) {
        draws.push_back(platform::PRNGOpenDouble());
    }
    return draws;
}

TEST(PrngBinding, ReachesTheLibraryBesideTheProgram) {
    EXPECT_TRUE(platform::BindLibrary(platform::kPrngLibrary));
    EXPECT_NE(platform::prng_binding::OpenDouble.Bound(), nullptr);
    EXPECT_NE(platform::prng_binding::ClosedDouble.Bound(), nullptr);
    EXPECT_NE(platform::prng_binding::UnsignedLong.Bound(), nullptr);
    platform::PRNGSetSeed(77);
    const auto first = OpenDraws(5);
    platform::PRNGSetSeed(77);
    EXPECT_EQ(OpenDraws(5), first);
    for (double u : first) {
        EXPECT_TRUE(u > 0 && u < 1) << u;
    }
    const double closed = platform::PRNGClosedDouble();
    EXPECT_TRUE(closed >= 0 && closed <= 1) << closed;
}

TEST(PrngBinding, ScriptsDecideTheDrawsInOrderAndTakeNoneFromTheLibrary) {
    platform::PRNGSetSeed(5);
    const auto unscripted = OpenDraws(3);
    platform::PRNGSetSeed(5);
    {
        ScriptedDraws script({0.25, 0.75}, {7});
        EXPECT_EQ(platform::PRNGOpenDouble(), 0.25);
        EXPECT_EQ(platform::PRNGClosedDouble(), 0.75);
        EXPECT_EQ(platform::PRNGOpenDouble(), 0.25); // from the start again
        EXPECT_EQ(platform::PRNGUnsignedLong(), 7u);
        {
            ScriptedDraws inner({1.0});
            EXPECT_EQ(platform::PRNGClosedDouble(), 1.0);
            EXPECT_EQ(inner.DoublesTaken(), 1u);
        }
        EXPECT_EQ(platform::PRNGOpenDouble(), 0.75);
        EXPECT_EQ(script.DoublesTaken(), 4u);
        EXPECT_EQ(script.WordsTaken(), 1u);
    }
    EXPECT_EQ(OpenDraws(3), unscripted);

    // A script of words alone leaves the doubles to the library.
    platform::PRNGSetSeed(5);
    ScriptedDraws words({}, {1, 2});
    EXPECT_EQ(OpenDraws(3), unscripted);
    EXPECT_EQ(platform::PRNGUnsignedLong(), 1u);
    EXPECT_EQ(platform::PRNGUnsignedLong(), 2u);
}

} // namespace
