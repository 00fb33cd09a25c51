#include "ResultsChart.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

using namespace reactimer;

namespace {

// A chart of 734 x 375 pixels and a save button of 118 x 26 in a fixed font
// of 7 x 12 pixels per character.
ChartDrawing Chart(std::initializer_list<double> means, int width = 734, int height = 375) {
    ChartInput input;
    for (const double m : means)
        input.results.means[static_cast<size_t>(input.results.nums++)] = m;
    input.width = width;
    input.height = height;
    input.buttonWidth = 118;
    input.buttonHeight = 26;
    input.measure = [](const std::string& text) { return TextExtent{7 * static_cast<int>(text.size()), 12}; };
    return DrawChart(input);
}

std::vector<ChartMark> Lines(const ChartDrawing& chart, uint32_t color) {
    std::vector<ChartMark> found;
    for (const ChartMark& m : chart.marks) {
        if (m.color == color && m.kind == ChartMark::Kind::Line)
            found.push_back(m);
    }
    return found;
}

std::array<int, 2> TextAt(const ChartDrawing& chart, const std::string& text) {
    for (const ChartMark& m : chart.marks) {
        if (m.kind == ChartMark::Kind::Text && m.text == text)
            return {m.x1, m.y1};
    }
    return {-1, -1};
}

int Round(double v) {
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

TEST(ResultsChartTest, FitStartsAtTheFastestStageAndTheRangeCoversTheCurve) {
    const ChartDrawing chart = Chart({300, 250, 400, 450});
    EXPECT_EQ(chart.fit.T, 250);
    EXPECT_DOUBLE_EQ(chart.fit.P, (150 / std::log(3.0) + 200 / std::log(4.0)) / 3);
    EXPECT_EQ(ThresholdLegend(chart.fit), "T = threshold reaction time = 250 ms");
    EXPECT_EQ(ProcessingLegend(chart.fit), "P = average processing time per bit = 64 ms");
    const ResultsFit raised = Chart({200, 400, 300}).fit; // g(3) = 408.5 above the slowest mean
    EXPECT_GT(raised.G(3), 400);
    EXPECT_DOUBLE_EQ(raised.Tmax, raised.G(3));

    const struct {
        double T, Tmax;
        std::vector<int64_t> ticks;
    } ticks[] = {{250, 450, {260, 280, 300, 320, 340, 360, 380, 400, 420, 440}},
                 {101.5, 121.5, {103, 105, 107, 109, 111, 113, 115, 117, 119, 121}},
                 {300, 303, {301, 302, 303}},
                 {300, 340, {302, 304, 306, 308, 310, 312, 314, 316, 318, 320, 322, 324, 326, 328, 330, 332, 334, 336, 338, 340}},
                 {300, 350, {305, 310, 315, 320, 325, 330, 335, 340, 345, 350}},
                 {1000, 2234, {1080, 1200, 1320, 1440, 1560, 1680, 1800, 1920, 2040, 2160}},
                 {300, 300, {}},
                 {0, 1e300, {}}};
    for (const auto& c : ticks)
        EXPECT_EQ(TickValues(c.T, c.Tmax), c.ticks) << c.T << " " << c.Tmax;
}

TEST(ResultsChartTest, MarginsTicksAndLegendsOfAKnownSet) {
    const ChartDrawing chart = Chart({300, 250, 400, 450});
    EXPECT_EQ(chart.left, 7 * 6 + 40); // "450 ms"
    EXPECT_EQ(chart.bottom, 30 + 60 + 26);
    EXPECT_EQ(chart.buttonLeft, 82 + 257);
    EXPECT_EQ(chart.buttonTop, 375 - 46);
    const int axisY = 375 - 116;
    const double Sy = (375 - 20 - 116) / 200.0;
    const auto black = Lines(chart, kChartBlack);
    ASSERT_EQ(black.size(), 2u + 4 + 10);
    EXPECT_EQ((std::array{black[0].x1, black[0].y1, black[0].x2}), (std::array{82, axisY, 714}));
    EXPECT_EQ((std::array{black[1].y1, black[1].y2}), (std::array{20, axisY}));
    const int tickX[] = {82, 293, 503, 714};
    const int labelX[] = {78, 289, 500, 710}; // less half a digit, halves to even
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(black[2 + k].x1, tickX[k]);
        EXPECT_EQ(TextAt(chart, std::to_string(k + 1)), (std::array{labelX[k], axisY + 20}));
    }
    for (int v = 260; v <= 440; v += 20)
        EXPECT_EQ(TextAt(chart, std::to_string(v) + " ms"), (std::array{20, Round(axisY - (v - 250) * Sy - 6)}));
    const auto red = Lines(chart, kChartRed);
    const auto blue = Lines(chart, kChartBlue);
    ASSERT_EQ(red.size(), 3u);
    ASSERT_EQ(blue.size(), 3u);
    EXPECT_EQ(red[0].y1, Round(axisY - 50 * Sy));
    EXPECT_EQ(red[2].y2, 20);
    EXPECT_EQ(blue[0].y1, axisY); // the curve starts at T, under the first mean
    EXPECT_EQ(TextAt(chart, "f(N) = Reaction time in milliseconds"), (std::array{714 - 7 * 36, Round(axisY - 112.8)}));
    EXPECT_EQ(TextAt(chart, "g(N) = T + P * Log(1/N)"), (std::array{714 - 7 * 23, Round(axisY - 64.8)}));
    EXPECT_EQ(TextAt(chart, "N = number of choices"), (std::array{82 + (734 - 147 - 102) / 2, axisY + 38}));
}

TEST(ResultsChartTest, DataAndCurveStayInsideThePlotOrLevelWithoutAScale) {
    const std::pair<ChartDrawing, int> charts[] = {
        {Chart({200, 400, 300}, 400, 300), 400},
        {Chart({900, 350, 352, 351, 600, 340, 700, 1200, 380, 395}, 1500, 900), 1500},
        {Chart({5, 1e6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30}),
         734}};
    for (const auto& [chart, w] : charts) {
        for (const uint32_t color : {kChartRed, kChartBlue}) {
            for (const ChartMark& m : Lines(chart, color)) {
                for (const int y : {m.y1, m.y2}) {
                    EXPECT_GE(y, 20);
                    EXPECT_LE(y, chart.buttonTop + 46 - chart.bottom);
                }
                EXPECT_GE(std::min(m.x1, m.x2), chart.left);
                EXPECT_LE(std::max(m.x1, m.x2), w - 20);
            }
        }
    }
    // One stage, equal means, no stages: the data level at mid-height, no y ticks.
    for (const auto& [chart, points] : {std::pair{Chart({420}), 1u}, std::pair{Chart({300, 300, 300}), 2u},
                                        std::pair{Chart({}), 0u}}) {
        const auto red = Lines(chart, kChartRed);
        ASSERT_EQ(red.size(), points);
        for (const ChartMark& m : red)
            EXPECT_EQ((std::array{m.y1, m.y2}), (std::array{140, 140}));
        EXPECT_EQ(Lines(chart, kChartBlack).size(), 2u + (points ? points + (points == 1 ? 0 : 1) : 0));
        EXPECT_EQ(chart.fit.P, 0);
    }
    // Means of any size are drawn, their legends in whole digits.
    EXPECT_EQ(ThresholdLegend(Chart({-1e20, 5}).fit), "T = threshold reaction time = -100000000000000000000 ms");
}
