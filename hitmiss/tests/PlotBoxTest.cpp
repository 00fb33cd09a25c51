#include "PlotBox.h"

#include "HitSampler.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string_view>
#include <tuple>

using namespace hitmiss;

namespace {

expression::clsExpression Parse(std::string_view text) {
    expression::clsExpression f;
    int16_t start = 1;
    f.FromString(text, start, -1);
    return f;
}

} // namespace

TEST(PlotBoxTest, BoxHoldsTheSamplesAndTheAxisWithMargins) {
    const struct {
        const char* formula;
        double lowerX, upperX;
        double lowerY, upperY;
    } rows[] = {
        {"x", 0, 1, -0.1, 1.11},     {"0", 0, 1, -1.2, 1.22},        {"-x", 0, 2, -2.2, 0.22},
        {"x + 5", 0, 1, -0.6, 6.66}, {"x^2 - 1", -1, 1, -1.1, 0.11},
    };
    for (const auto& r : rows) {
        auto f = Parse(r.formula);
        PlotBox box;
        ASSERT_TRUE(box.Scan(f, r.lowerX, r.upperX, 8)) << r.formula;
        EXPECT_EQ(box.Samples().size(), 9u);
        EXPECT_NEAR(box.LowerY(), r.lowerY, 1e-12) << r.formula;
        EXPECT_NEAR(box.UpperY(), r.upperY, 1e-12) << r.formula;
    }
}

TEST(PlotBoxTest, NoColumnsSampleAsOneColumn) {
    auto x = Parse("x");
    PlotBox box;
    for (const int columns : {0, 1, -5}) {
        ASSERT_TRUE(box.Scan(x, 0, 2, columns)) << columns;
        ASSERT_EQ(box.Samples().size(), 2u) << columns;
        EXPECT_EQ(box.Samples()[1].x, 2) << columns;
    }
}

TEST(PlotBoxTest, UndefinedSampleLeavesThePreviousBoxAndNoSamples) {
    PlotBox box;
    auto x = Parse("x");
    ASSERT_TRUE(box.Scan(x, 0, 1, 4));
    auto half = Parse("SQRT(0.5 - x)");
    EXPECT_FALSE(box.Scan(half, 0, 1, 4));
    EXPECT_EQ(box.UndefinedAt(), 0.75);
    EXPECT_TRUE(box.Samples().empty());
    auto root = Parse("SQRT(x)");
    EXPECT_FALSE(box.Scan(root, -1, 1, 4));
    EXPECT_EQ(box.UndefinedAt(), -1);
    auto log = Parse("LOG(x - 0.5)");
    EXPECT_FALSE(box.Scan(log, 0.5, 1, 4));
    EXPECT_EQ(box.UndefinedAt(), 0.5);
    EXPECT_NEAR(box.UpperY(), 1.11, 1e-12);
    // An interval narrower than its numbers can step through still ends.
    EXPECT_TRUE(box.Scan(x, 1e16, 1e16 + 2, 100));
    EXPECT_LE(box.Samples().size(), 101u);
}

TEST(PlotBoxTest, PixelsAreRoundedHalfToEvenAndHeldNearTheWindow) {
    const std::tuple<double, int> pixels[] = {
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {7.49, 7},
        {1e300, 1 << 20},
        {-std::numeric_limits<double>::infinity(), -(1 << 20)},
        {std::nan(""), -(1 << 20)}};
    for (const auto& [v, pixel] : pixels)
        EXPECT_EQ(PixelOf(v), pixel) << v;
}

TEST(PlotBoxTest, PointsCountBySideOfTheAxis) {
    const std::tuple<double, double, int> rows[] = {{1, 0.5, 1},
                                                    {1, 1, 0},
                                                    {1, 0, 0},
                                                    {1, -0.5, 0},
                                                    {-1, -0.5, -1},
                                                    {-1, -1, 0},
                                                    {-1, 0.5, 0},
                                                    {0, 0, 0},
                                                    {0, 0.1, 0},
                                                    {0, -0.1, 0},
                                                    {expression::UndefinedResult, 1e300, 1}};
    for (const auto& [f, y, hit] : rows)
        EXPECT_EQ(HitOf(f, y), hit) << f << " " << y;
    EXPECT_DOUBLE_EQ(Estimate(0, 2, -1, 3, -3, 12), -2);
}
