#include "DiagramRanges.h"

#include "DiagramColumn.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>
#include <vector>

using namespace bifurcal;

TEST(DiagramRangesTest, TypedRangesAndCountsAreMadeUsable) {
    const std::tuple<double, double, double, double> ranges[] = {
        {5, 1, 1, 5}, {2, 2, 2, 2.01}, {-1, 3, -1, 3}, {0, 0, 0, 0.01}};
    for (auto [low, high, wantLow, wantHigh] : ranges) {
        OrderRange(low, high);
        EXPECT_DOUBLE_EQ(low, wantLow);
        EXPECT_DOUBLE_EQ(high, wantHigh);
    }
    const std::tuple<double, int> counts[] = {{2.5, 2},
                                              {3.5, 4},
                                              {-5, 0},
                                              {-0.4, 0},
                                              {32767, 32767},
                                              {32767.5, 32767},
                                              {1e300, 32767},
                                              {std::numeric_limits<double>::infinity(), 32767},
                                              {-std::numeric_limits<double>::infinity(), 0},
                                              {std::nan(""), 0}};
    for (const auto& [typed, count] : counts)
        EXPECT_EQ(IterationCount(typed), count) << typed;
}

// A canvas side of no pixels (a window made too small) keeps its scale.
TEST(DiagramRangesTest, ScalesChangeOnlyForSidesOfAtLeastOnePixel) {
    const std::tuple<int, int, double, double> sizes[] = {
        {0, 0, 0.06, 0.02}, {-3, 50, 0.06, 0.04}, {300, -1, 0.02, 0.02}, {1, 1, 6, 2}};
    for (const auto& [width, height, aPerPixel, yPerPixel] : sizes) {
        DiagramRanges r;
        r.UpdateScales(100, 100);
        r.UpdateScales(width, height);
        EXPECT_DOUBLE_EQ(r.aPerPixel, aPerPixel) << width << "x" << height;
        EXPECT_DOUBLE_EQ(r.yPerPixel, yPerPixel) << width << "x" << height;
    }
}

TEST(DiagramRangesTest, RowsAreCountedFromTheTopAndStayOnTheCanvas) {
    DiagramRanges r; // x from -0.5 to 1.5
    r.UpdateScales(100, 200);
    const std::tuple<double, bool, int> rows[] = {
        {1.5, true, 0},         {-0.5 + 0.01, true, 199}, {-0.5, false, 0},
        {1.5 + 0.005, true, 0}, {1.5 + 0.006, false, 0},  {0.5, true, 100},
        {1e308, false, 0},      {-1e308, false, 0},       {std::nan(""), false, 0}};
    for (const auto& [x, visible, row] : rows) {
        int got = -7;
        EXPECT_EQ(RowOf(x, r, 200, got), visible) << x;
        if (visible) {
            EXPECT_EQ(got, row) << x;
        }
    }
}

namespace {

struct Column {
    std::vector<double> plotted;
    int greys = 0;
};

Column Logistic(double a, int discarded, int shown) {
    Column c;
    LogisticColumn(
        a, discarded, shown, [&](double x) { c.plotted.push_back(x); }, [&] { ++c.greys; });
    return c;
}

Column Formula(const char* text, double x0, int discarded, int shown) {
    expression::clsExpression f;
    int16_t start = 1;
    f.FromString(std::string_view(text), start, -1);
    Column c;
    FormulaColumn(
        f, 2.0, x0, discarded, shown, [&](double x) { c.plotted.push_back(x); },
        [&] { ++c.greys; });
    return c;
}

} // namespace

TEST(DiagramRangesTest, ColumnsPlotShownIteratesAndGreyUndefinedOnes) {
    const Column settled = Logistic(2, 100, 3);
    EXPECT_EQ(settled.plotted, std::vector<double>(3, 0.5));
    EXPECT_EQ(settled.greys, 0);
    // a = 6 leaves [0, 1] and overflows within the discarded iterates.
    const Column escaped = Logistic(6, 100, 200);
    EXPECT_TRUE(escaped.plotted.empty());
    EXPECT_EQ(escaped.greys, 2);
    EXPECT_EQ(Logistic(6, 0, 200).greys, 1);
    EXPECT_EQ(Logistic(6, 3, 0).plotted.size(), 0u);

    EXPECT_EQ(Formula("x + a", 0, 3, 2).plotted, (std::vector<double>{8, 10}));
    EXPECT_EQ(Formula("LOG(0)", 0, 5, 5).greys, 2);
    // The shown phase goes on from the undefined value the discarded one ended with.
    const Column afterUndefined = Formula("LOG(x)", 1, 5, 1);
    EXPECT_EQ(afterUndefined.greys, 1);
    ASSERT_EQ(afterUndefined.plotted.size(), 1u);
    EXPECT_DOUBLE_EQ(afterUndefined.plotted[0], std::log(expression::UndefinedResult));
}
