// The training chart: filling, scrolling, and its scale.
#include "ErrorChart.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

using neuromesh::ErrorChart;

std::vector<double> Shown(const ErrorChart& chart) {
    return {chart.Shown().begin(), chart.Shown().end()};
}

TEST(ErrorChartTest, FillsTwoHundredAndOneSegmentsThenScrolls) {
    ErrorChart chart;
    EXPECT_EQ(chart.errcount(), -1);
    EXPECT_TRUE(Shown(chart).empty());
    chart.AddErrorPoint(10);
    EXPECT_EQ(chart.errcount(), 0);
    std::vector<double> values{10};
    for (int k = 1; k < ErrorChart::kValues; ++k) {
        chart.AddErrorPoint(10 - k * 0.01);
        values.push_back(10 - k * 0.01);
    }
    EXPECT_EQ(chart.errcount(), 201);
    EXPECT_EQ(Shown(chart), values);
    chart.AddErrorPoint(7);
    values.erase(values.begin());
    values.push_back(7);
    EXPECT_EQ(chart.errcount(), 201);
    EXPECT_EQ(Shown(chart), values);
    chart.ResetErrorChart();
    EXPECT_EQ(std::pair(chart.errcount(), chart.maxerr()), std::pair(-1, 0.0));
}

TEST(ErrorChartTest, TheScaleGrowsAtOnceAndShrinksOnlyWhileScrolling) {
    ErrorChart chart;
    chart.AddErrorPoint(4);
    chart.AddErrorPoint(9);
    EXPECT_EQ(chart.maxerr(), 9);
    for (int k = 2; k < ErrorChart::kValues; ++k)
        chart.AddErrorPoint(1);
    EXPECT_EQ(chart.maxerr(), 9) << "no shrinking before the chart is full";
    chart.AddErrorPoint(5); // 4 scrolls out; 9 is still shown
    EXPECT_EQ(chart.maxerr(), 9);
    chart.AddErrorPoint(1); // 9 scrolls out; 5 is not below half the scale
    EXPECT_EQ(chart.maxerr(), 9);
    for (int k = 0; k < ErrorChart::kSegments; ++k)
        chart.AddErrorPoint(1); // 5 scrolls out: the largest shown is 1
    EXPECT_EQ(chart.maxerr(), 1);
    chart.AddErrorPoint(3);
    EXPECT_EQ(chart.maxerr(), 3);
}

TEST(ErrorChartTest, HeightsAndPositionsInTwips) {
    ErrorChart chart;
    const double top = 500, height = 2505;
    EXPECT_EQ(chart.ErrorToY(0, top, height), top + height - 20) << "no scale yet";
    chart.AddErrorPoint(0);
    EXPECT_EQ(chart.ErrorToY(0, top, height), top + height - 20);
    chart.AddErrorPoint(2);
    EXPECT_DOUBLE_EQ(chart.ErrorToY(2, top, height), top + height / 11 - 20);
    EXPECT_DOUBLE_EQ(chart.ErrorToY(1, top, height), top + height * (1 - 0.5 / 1.1) - 20);
    EXPECT_EQ(ErrorChart::PointX(0, 210, 5000), 220);
    EXPECT_DOUBLE_EQ(ErrorChart::PointX(67, 210, 5000), 210 + 5000.0 / 201 * 67);
    EXPECT_EQ(ErrorChart::PointX(201, 210, 5000), 5200);
}

} // namespace
