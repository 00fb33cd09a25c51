#include "DigitChart.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

using leadigit::DigitCounts;

// A fixed font, every character 7 pixels wide and texts `height` high; what is
// drawn is recorded with its colour.
struct Canvas : leadigit::ChartCanvas {
    struct Drawn {
        double x1, y1, x2, y2;
    };
    int TextWidth(std::string_view text) override { return 7 * static_cast<int>(text.size()); }
    int TextHeight(std::string_view) override { return height; }
    void SetColor(uint32_t bgr) override { color = bgr; }
    void Line(double x1, double y1, double x2, double y2) override {
        lines[color].push_back({x1, y1, x2, y2});
    }
    void Text(int x, int y, std::string_view text) override {
        texts[std::string(text)] = {static_cast<int>(color), x, y};
        if (text.back() == '%')
            labels.emplace_back(text);
    }

    int height = 13;
    uint32_t color = 0x123456;
    std::map<uint32_t, std::vector<Drawn>> lines;
    std::map<std::string, std::array<int, 3>> texts; // colour, x, y
    std::vector<std::string> labels;
};

// The design's chart area: 700 x 196 pixels, 236 from the top. With the fixed
// font the margins are 51 and 43: y0 = 389, digit d at 51 + (d - 1) * 79.875.
Canvas Draw(std::array<int32_t, 10> counts, int top = 236, int height = 13) {
    Canvas canvas;
    canvas.height = height;
    leadigit::DrawDigitChart(DigitCounts(counts), {0, top, 700, 196}, canvas);
    return canvas;
}

TEST(DigitChart, NothingIsDrawnWithoutADigitOneToNine) {
    for (const Canvas& c : {Draw({}), Draw({5})})
        EXPECT_TRUE(c.lines.empty() && c.texts.empty());
}

TEST(DigitChart, CountsFollowingTheLawGiveOneCurveAndTicksToThirtyPercent) {
    std::array<int32_t, 10> counts{};
    for (int d = 1; d <= 9; ++d)
        counts[d] = static_cast<int32_t>(std::lround(leadigit::LawShare(d) * 1e8));
    Canvas c = Draw(counts);
    const auto& red = c.lines[leadigit::kActualColor];
    const auto& blue = c.lines[leadigit::kLawColor];
    ASSERT_EQ(red.size(), 8u);
    ASSERT_EQ(blue.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_NEAR(red[i].y1, blue[i].y1, 1e-5);
        EXPECT_NEAR(red[i].y2, blue[i].y2, 1e-5);
    }
    // From the top row at digit 1 to the axis's end at digit 9.
    EXPECT_NEAR(blue[0].y1, 246, 1e-5);
    EXPECT_DOUBLE_EQ(blue[0].x1, 51);
    EXPECT_DOUBLE_EQ(blue[7].x2, 690);
    EXPECT_EQ(c.labels, (std::vector<std::string>{"0%", "10%", "20%", "30%"}));
}

TEST(DigitChart, EveryValueBeginningWithOneGivesElevenTicks) {
    Canvas c = Draw({0, 40});
    EXPECT_EQ(c.labels, (std::vector<std::string>{"0%", "10%", "20%", "30%", "40%", "50%", "60%",
                                                  "70%", "80%", "90%", "100%"}));
    const auto& red = c.lines[leadigit::kActualColor];
    EXPECT_DOUBLE_EQ(red[0].y1, 246);
    for (const auto& line : red)
        EXPECT_DOUBLE_EQ(line.y2, 389);
    // The label of 0.9999999999999999 stands centred on its tick.
    EXPECT_EQ(c.texts["100%"][2], std::nearbyint(389 - 0.9999999999999999 * 143 - 6.5));
}

TEST(DigitChart, TextsStandAtPositionsRoundedHalfToEven) {
    Canvas c = Draw({0, 3, 2, 1, 1, 1, 1, 1, 1, 1});
    // Digit lefts 47.5, 207.25 and 686.5; under the axis in black.
    EXPECT_EQ(c.texts["1"], (std::array<int, 3>{0, 48, 399}));
    EXPECT_EQ(c.texts["3"], (std::array<int, 3>{0, 207, 399}));
    EXPECT_EQ(c.texts["9"], (std::array<int, 3>{0, 686, 399}));
    // The legend's right edges at 690; the second line 1.5 text heights lower:
    // 265.5 and 266.5 both go to 266; with a height of 14 the step is 21.
    for (int top : {236, 237}) {
        Canvas legend = Draw({0, 1}, top);
        EXPECT_EQ(legend.texts["Actual distribution"],
                  (std::array<int, 3>{int(leadigit::kActualColor), 690 - 7 * 19, top + 10}));
        EXPECT_EQ(legend.texts["Leadigit distribution"],
                  (std::array<int, 3>{int(leadigit::kLawColor), 690 - 7 * 21, 266}));
    }
    EXPECT_EQ(Draw({0, 1}, 236, 14).texts["Leadigit distribution"][2], 236 + 10 + 21);
    EXPECT_EQ(leadigit::ShareLabel(0.1 + 0.1 + 0.1), "30%");
}

} // namespace
