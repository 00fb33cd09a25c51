#include "DigitChart.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using leadigit::ChartArea;
using leadigit::DigitCounts;

// A canvas of a fixed font: every character 7 pixels wide, texts 13 high
// (or as set), recording what is drawn in which colour.
class RecordingCanvas : public leadigit::ChartCanvas {
public:
    struct DrawnLine {
        uint32_t color;
        double x1, y1, x2, y2;
    };
    struct DrawnText {
        uint32_t color;
        int x, y;
        std::string text;
    };

    int TextWidth(std::string_view text) override { return 7 * static_cast<int>(text.size()); }
    int TextHeight(std::string_view) override { return height; }
    void SetColor(uint32_t bgr) override { color = bgr; }
    void Line(double x1, double y1, double x2, double y2) override {
        lines.push_back({color, x1, y1, x2, y2});
    }
    void Text(int x, int y, std::string_view text) override {
        texts.push_back({color, x, y, std::string(text)});
    }

    std::vector<DrawnLine> LinesOf(uint32_t c) const {
        std::vector<DrawnLine> of;
        for (const DrawnLine& l : lines)
            if (l.color == c)
                of.push_back(l);
        return of;
    }
    const DrawnText* Find(const std::string& text) const {
        for (const DrawnText& t : texts)
            if (t.text == text)
                return &t;
        return nullptr;
    }
    std::vector<std::string> ShareLabels() const {
        std::vector<std::string> labels;
        for (const DrawnText& t : texts)
            if (t.text.back() == '%')
                labels.push_back(t.text);
        return labels;
    }

    int height = 13;
    uint32_t color = 0x123456;
    std::vector<DrawnLine> lines;
    std::vector<DrawnText> texts;
};

DigitCounts Counts(std::array<int32_t, 10> c) {
    return DigitCounts(c);
}

const ChartArea kArea{0, 236, 700, 196};

TEST(DigitChart, NothingIsDrawnWithoutADigitOneToNine) {
    for (const DigitCounts& counts : {Counts({}), Counts({5, 0, 0, 0, 0, 0, 0, 0, 0, 0})}) {
        RecordingCanvas canvas;
        leadigit::DrawDigitChart(counts, kArea, canvas);
        EXPECT_TRUE(canvas.lines.empty());
        EXPECT_TRUE(canvas.texts.empty());
    }
}

TEST(DigitChart, CountsFollowingTheLawGiveOneCurveAndTicksToThirtyPercent) {
    std::array<int32_t, 10> c{};
    for (int d = 1; d <= 9; ++d)
        c[d] = static_cast<int32_t>(std::lround(leadigit::LawShare(d) * 1e8));
    RecordingCanvas canvas;
    leadigit::DrawDigitChart(Counts(c), kArea, canvas);

    const auto red = canvas.LinesOf(leadigit::kActualColor);
    const auto blue = canvas.LinesOf(leadigit::kLawColor);
    ASSERT_EQ(red.size(), 8u);
    ASSERT_EQ(blue.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_DOUBLE_EQ(red[i].x1, blue[i].x1);
        EXPECT_NEAR(red[i].y1, blue[i].y1, 1e-5);
        EXPECT_NEAR(red[i].y2, blue[i].y2, 1e-5);
    }
    EXPECT_EQ(canvas.ShareLabels(), (std::vector<std::string>{"0%", "10%", "20%", "30%"}));

    // Margins from "40%" (21 x 13): the axes meet at (51, 236 + 196 - 43); the
    // largest value, log10 2, touches the row 10 below the top.
    const int leftMargin = 21 + 30;
    const double y0 = 236 + 196 - (13 + 30);
    EXPECT_DOUBLE_EQ(blue[0].x1, leftMargin);
    EXPECT_NEAR(blue[0].y1, 236 + 10, 1e-5);
    const auto black = canvas.LinesOf(leadigit::kAxisColor);
    ASSERT_GE(black.size(), 2u);
    EXPECT_DOUBLE_EQ(black[0].y1, y0);
    EXPECT_DOUBLE_EQ(black[0].x2, 700 - 10);
    EXPECT_DOUBLE_EQ(black[1].y1, 236 + 10);
    // The digit 9 stands at the right end of the axis.
    EXPECT_DOUBLE_EQ(blue.back().x2, 700 - 10);
}

TEST(DigitChart, EveryValueBeginningWithOneGivesElevenTicks) {
    RecordingCanvas canvas;
    leadigit::DrawDigitChart(Counts({0, 40, 0, 0, 0, 0, 0, 0, 0, 0}), kArea, canvas);
    EXPECT_EQ(canvas.ShareLabels(),
              (std::vector<std::string>{"0%", "10%", "20%", "30%", "40%", "50%", "60%", "70%",
                                        "80%", "90%", "100%"}));
    const auto red = canvas.LinesOf(leadigit::kActualColor);
    ASSERT_EQ(red.size(), 8u);
    const double y0 = 236 + 196 - 43;
    EXPECT_DOUBLE_EQ(red[0].y1, 236 + 10);
    EXPECT_DOUBLE_EQ(red[0].y2, y0);
    for (const auto& line : red)
        EXPECT_DOUBLE_EQ(line.y2, y0);
}

TEST(DigitChart, TextsStandAtPositionsRoundedHalfToEven) {
    // Width 700 puts digit d at 51 + (d - 1) * 79.875; a digit is 7 wide, so
    // its left is at that less 3.5.
    RecordingCanvas canvas;
    leadigit::DrawDigitChart(Counts({0, 3, 2, 1, 1, 1, 1, 1, 1, 1}), kArea, canvas);
    for (int d = 1; d <= 9; ++d) {
        const double left = 51 + (d - 1) * 79.875 - 3.5;
        const RecordingCanvas::DrawnText* digit = canvas.Find(std::string(1, char('0' + d)));
        ASSERT_NE(digit, nullptr);
        EXPECT_EQ(digit->x, static_cast<int>(std::nearbyint(left))) << d;
        EXPECT_EQ(digit->color, leadigit::kAxisColor);
    }
    EXPECT_EQ(canvas.Find("1")->x, 48);  // 47.5
    EXPECT_EQ(canvas.Find("5")->x, 367); // 367
    EXPECT_EQ(canvas.Find("3")->x, 207); // 207.25
    EXPECT_EQ(canvas.Find("9")->x, 686); // 686.5

    // The legend's right edges at 690; the second line 1.5 text heights lower:
    // 246 + 19.5 = 265.5 goes to 266, and with a top one lower 266.5 to 266 too.
    for (int top : {236, 237}) {
        RecordingCanvas legend;
        leadigit::DrawDigitChart(Counts({0, 3, 2, 1, 1, 1, 1, 1, 1, 1}),
                                 {0, top, 700, 196}, legend);
        const auto* actual = legend.Find("Actual distribution");
        const auto* law = legend.Find("Leadigit distribution");
        ASSERT_TRUE(actual && law);
        EXPECT_EQ(actual->color, leadigit::kActualColor);
        EXPECT_EQ(law->color, leadigit::kLawColor);
        EXPECT_EQ(actual->x + 7 * 19, 690);
        EXPECT_EQ(law->x + 7 * 21, 690);
        EXPECT_EQ(actual->y, top + 10);
        EXPECT_EQ(law->y, 266);
    }
    // With a text height of 14 the step is a whole 21 rows.
    RecordingCanvas tall;
    tall.height = 14;
    leadigit::DrawDigitChart(Counts({0, 1, 0, 0, 0, 0, 0, 0, 0, 0}), kArea, tall);
    EXPECT_EQ(tall.Find("Leadigit distribution")->y, 236 + 10 + 21);
}

TEST(DigitChart, ShareLabelsHaveFifteenSignificantDigits) {
    EXPECT_EQ(leadigit::ShareLabel(0.1 + 0.1 + 0.1), "30%");
    EXPECT_EQ(leadigit::ShareLabel(0.7999999999999999), "80%");
    EXPECT_EQ(leadigit::ShareLabel(0), "0%");
}

} // namespace
