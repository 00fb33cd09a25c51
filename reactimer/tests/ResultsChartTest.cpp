#include "ResultsChart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

using namespace reactimer;

namespace {

StageResults Results(std::initializer_list<double> means) {
    StageResults results;
    for (const double m : means)
        results.means[static_cast<size_t>(results.nums++)] = m;
    return results;
}

// A fixed font: 7 pixels per character, 12 per line.
ChartInput Input(const StageResults& results, int width = 734, int height = 375) {
    ChartInput input;
    input.results = results;
    input.width = width;
    input.height = height;
    input.buttonWidth = 118;
    input.buttonHeight = 26;
    input.measure = [](const std::string& text) {
        return TextExtent{7 * static_cast<int>(text.size()), 12};
    };
    return input;
}

std::vector<ChartMark> Marks(const ChartDrawing& chart, uint32_t color, ChartMark::Kind kind) {
    std::vector<ChartMark> found;
    for (const ChartMark& m : chart.marks) {
        if (m.color == color && m.kind == kind)
            found.push_back(m);
    }
    return found;
}

const ChartMark* TextMark(const ChartDrawing& chart, const std::string& text) {
    for (const ChartMark& m : chart.marks) {
        if (m.kind == ChartMark::Kind::Text && m.text == text)
            return &m;
    }
    return nullptr;
}

} // namespace

TEST(ResultsChartTest, FitTakesTheFastestStageWhereverItLiesAndRaisesTheTopToTheCurve) {
    const StageResults r = Results({300, 250, 400, 450});
    const ResultsFit fit = FitMeans(r.means, r.nums);
    EXPECT_EQ(fit.T, 250);
    const double P = (0 / std::log(2.0) + 150 / std::log(3.0) + 200 / std::log(4.0)) / 3;
    EXPECT_DOUBLE_EQ(fit.P, P);
    EXPECT_EQ(fit.G(1), 250);
    EXPECT_DOUBLE_EQ(fit.Tmax, std::max(450.0, 250 + P * std::log(4.0)));
    EXPECT_EQ(ThresholdLegend(fit), "T = threshold reaction time = 250 ms");
    EXPECT_EQ(ProcessingLegend(fit),
              "P = average processing time per bit = " +
                  std::to_string(static_cast<int>(P * std::log(2.0))) + " ms");

    // The curve's end above the slowest mean: the top of the range follows it.
    const StageResults up = Results({200, 400, 300});
    const ResultsFit raised = FitMeans(up.means, up.nums);
    EXPECT_GT(raised.G(3), 400);
    EXPECT_DOUBLE_EQ(raised.Tmax, raised.G(3));
}

TEST(ResultsChartTest, TickStepsAreRoundAndStayInsideTheRange) {
    const struct {
        double T, Tmax;
        std::vector<int64_t> ticks;
    } cases[] = {
        {250, 450, {260, 280, 300, 320, 340, 360, 380, 400, 420, 440}},
        {101.5, 131.5, {103, 105, 107, 109, 111, 113, 115, 117, 119, 121, 123, 125, 127, 129, 131}},
        {300, 305, {301, 302, 303, 304, 305}},
        {300, 370, {305, 310, 315, 320, 325, 330, 335, 340, 345, 350, 355, 360, 365, 370}},
        {1000, 2234, {1080, 1200, 1320, 1440, 1560, 1680, 1800, 1920, 2040, 2160}},
        {300, 300, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TickValues(c.T, c.Tmax), c.ticks) << c.T << " " << c.Tmax;
}

TEST(ResultsChartTest, MarginsTicksAndLegendsOfAKnownSetInAFixedFont) {
    const ChartDrawing chart = DrawChart(Input(Results({300, 250, 400, 450})));
    const double Tmax = chart.fit.Tmax;
    ASSERT_EQ(Tmax, 450);
    EXPECT_EQ(chart.left, 7 * 6 + 40);           // "450 ms"
    EXPECT_EQ(chart.bottom, 30 + 20 + 20 + 26 + 20);
    EXPECT_EQ(chart.buttonLeft, 82 + 257);        // 82 + (734 - 118 - 82 - 20) / 2
    EXPECT_EQ(chart.buttonTop, 375 - 20 - 26);
    const int axisY = 375 - 116;

    // The axes, and the x ticks at 0, 1/3, 2/3 and all of the plot width.
    const auto black = Marks(chart, kChartBlack, ChartMark::Kind::Line);
    ASSERT_GE(black.size(), 6u);
    const auto ends = [](const ChartMark& m) { return std::array{m.x1, m.y1, m.x2, m.y2}; };
    EXPECT_EQ(ends(black[0]), (std::array{82, axisY, 714, axisY}));
    EXPECT_EQ(ends(black[1]), (std::array{82, 20, 82, axisY}));
    const int xs[] = {82, 293, 503, 714}; // 82 + k * 632 / 3 to the nearest pixel
    const int labelXs[] = {78, 289, 500, 710}; // less half of 7, halves to even
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(black[2 + k].x1, xs[k]);
        EXPECT_EQ(black[2 + k].y1, axisY + 10);
        const ChartMark* label = TextMark(chart, std::to_string(k + 1));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->x1, labelXs[k]) << k;
        EXPECT_EQ(label->y1, axisY + 20);
    }

    // y ticks every 20 ms from 260 to 440, each label ending at x = L - 20.
    const double Sy = (375 - 20 - 116) / (Tmax - 250);
    for (int v = 260; v <= 440; v += 20) {
        const ChartMark* label = TextMark(chart, std::to_string(v) + " ms");
        ASSERT_NE(label, nullptr) << v;
        EXPECT_EQ(label->x1, 82 - 20 - 7 * 6);
        EXPECT_EQ(label->y1, static_cast<int>(std::nearbyint(axisY - (v - 250) * Sy - 6))) << v;
    }
    EXPECT_EQ(TextMark(chart, "240 ms"), nullptr);
    EXPECT_EQ(TextMark(chart, "460 ms"), nullptr);

    // Data and curve: three segments each, the curve from T at N = 1.
    const auto red = Marks(chart, kChartRed, ChartMark::Kind::Line);
    const auto blue = Marks(chart, kChartBlue, ChartMark::Kind::Line);
    ASSERT_EQ(red.size(), 3u);
    ASSERT_EQ(blue.size(), 3u);
    EXPECT_EQ(red[0].y1, static_cast<int>(std::nearbyint(axisY - 50 * Sy)));
    EXPECT_EQ(blue[0].y1, axisY);
    EXPECT_EQ(red[2].y2, 20); // the slowest mean is the top of the range

    // Legends right-aligned 20 pixels from the edge, in their colours.
    const ChartMark* f = TextMark(chart, "f(N) = Reaction time in milliseconds");
    const ChartMark* g = TextMark(chart, "g(N) = T + P * Log(1/N)");
    const ChartMark* t = TextMark(chart, "T = threshold reaction time = 250 ms");
    const ChartMark* n = TextMark(chart, "N = number of choices");
    ASSERT_TRUE(f && g && t && n);
    EXPECT_EQ(f->color, kChartRed);
    EXPECT_EQ(g->color, kChartBlue);
    EXPECT_EQ(t->color, kChartBlue);
    EXPECT_EQ(n->color, kChartBlack);
    EXPECT_EQ(f->x1 + 7 * 36, 714);
    EXPECT_EQ(f->y1, static_cast<int>(std::nearbyint(axisY - 9.4 * 12)));
    EXPECT_EQ(g->y1, static_cast<int>(std::nearbyint(axisY - 5.4 * 12)));
    EXPECT_EQ(n->x1, 82 + (734 - 7 * 21 - 82 - 20) / 2);
    EXPECT_EQ(n->y1, axisY + 20 + 18);
}

TEST(ResultsChartTest, NeitherDataNorCurveLeavesThePlot) {
    const StageResults sets[] = {
        Results({300, 250, 400, 450}),
        Results({200, 400, 300}),
        Results({900, 350, 352, 351, 600, 340, 700, 1200, 380, 395}),
        Results({5, 1e6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28,
                 29, 30}),
    };
    for (const StageResults& r : sets) {
        for (const auto& [w, h] : {std::pair{734, 375}, std::pair{400, 300}, std::pair{1500, 900}}) {
            const ChartDrawing chart = DrawChart(Input(r, w, h));
            for (const uint32_t color : {kChartRed, kChartBlue}) {
                const auto lines = Marks(chart, color, ChartMark::Kind::Line);
                EXPECT_EQ(lines.size(), static_cast<size_t>(r.nums - 1));
                for (const ChartMark& m : lines) {
                    for (const int y : {m.y1, m.y2}) {
                        EXPECT_GE(y, 20);
                        EXPECT_LE(y, h - chart.bottom);
                    }
                    for (const int x : {m.x1, m.x2}) {
                        EXPECT_GE(x, chart.left);
                        EXPECT_LE(x, w - 20);
                    }
                }
            }
        }
    }
}

TEST(ResultsChartTest, UndefinedScalesDrawTheDataLevelWithoutTicks) {
    // One stage: its mean is a point on the y-axis; equal means: a level line
    // at mid-height; no stages: the axes alone. No y ticks in any.
    const struct {
        StageResults results;
        size_t red;
    } cases[] = {{Results({420}), 1}, {Results({300, 300, 300}), 2}, {Results({}), 0}};
    for (const auto& c : cases) {
        const ChartDrawing chart = DrawChart(Input(c.results));
        const int middle = static_cast<int>(std::nearbyint((20 + 375 - chart.bottom) / 2.0));
        const auto red = Marks(chart, kChartRed, ChartMark::Kind::Line);
        ASSERT_EQ(red.size(), c.red);
        for (const ChartMark& m : red) {
            EXPECT_EQ(m.y1, middle);
            EXPECT_EQ(m.y2, middle);
            EXPECT_GE(m.x1, chart.left);
        }
        for (const ChartMark& m : chart.marks)
            EXPECT_EQ(m.text.find(" ms") != std::string::npos && m.color == kChartBlack, false) << m.text;
    }
    EXPECT_EQ(DrawChart(Input(Results({420}))).fit.P, 0);
}
