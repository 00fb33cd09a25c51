#include "PegBoard.h"

#include <gtest/gtest.h>

namespace {

using pegfall::PegBoard;

TEST(PegBoard, LevelsTextsAreRoundedAndClampedHoweverLarge) {
    const struct {
        const char* text;
        int levels;
    } rows[] = {{"0", 1},     {"-3", 1},  {"", 1},     {"2.5", 2},    {"3.5", 4},      {"8abc", 8},
                {"45", 30},   {"31", 30}, {"30", 30},  {"1e9", 30},   {"99999999999", 30},
                {"-4e40", 1}, {"x12", 1}, {" 12", 12}, {"1e999", 30}};
    for (const auto& r : rows)
        EXPECT_EQ(PegBoard::ReadLevels(r.text), r.levels) << '"' << r.text << '"';
}

TEST(PegBoard, BarsStandWhereTheLastSwingsEndAndTheCurvePeaksOverTheMiddle) {
    PegBoard board;
    board.SetClientWidth(633);
    board.LayoutPanels(429);
    board.LayoutBoard();
    // Canvas (429 - 65 - 51) / 2 high; the pitch is limited by it, not by the width.
    EXPECT_DOUBLE_EQ(board.Canvas().height, 156.5);
    EXPECT_DOUBLE_EQ(board.Results().top, 243.5);
    EXPECT_DOUBLE_EQ(board.Results().height, 135.5);
    EXPECT_DOUBLE_EQ(board.Step(), 15.65);
    EXPECT_EQ(board.PegCount(), 36);
    // Row i is centred on the middle, 2 steps between its pegs.
    EXPECT_DOUBLE_EQ(board.PegLeft(7, 0) + 4, 316.5 - 7 * 15.65);
    EXPECT_DOUBLE_EQ(board.PegTop(7), 86 + 8 * 15.65);
    for (int k = 0; k <= 8; ++k) {
        const pegfall::Area bar = board.Bar(k);
        EXPECT_NEAR(bar.left + bar.width / 2, 316.5 + (2 * k - 8) * 15.65, 1e-9);
        EXPECT_DOUBLE_EQ(bar.Bottom(), 379);
        EXPECT_DOUBLE_EQ(bar.height, 0);
        EXPECT_NEAR(board.Label(k).left + 105.0 / 2, bar.left + bar.width / 2, 1e-9);
        EXPECT_DOUBLE_EQ(board.Label(k).top, 396);
    }
    const std::vector<pegfall::Segment> curve = board.Curve();
    ASSERT_EQ(static_cast<int>(curve.size()), board.CurveLast() + 1);
    EXPECT_EQ(board.CurveLast(), 139); // round(8.9 * 15.65)
    int highest = 1000;
    for (size_t i = 1; i < curve.size(); ++i) {
        EXPECT_EQ(curve[i].x0, curve[i - 1].x1);
        EXPECT_EQ(curve[i].y0, curve[i - 1].y1);
        highest = std::min(highest, curve[i].y1);
    }
    EXPECT_EQ(highest, 244); // round(243.5) to even: the full height of the bin area
    // Across all bars.
    EXPECT_NEAR(curve.front().x1, board.Bar(0).left, 0.5);
    EXPECT_NEAR(curve.back().x1, board.Bar(8).Right(), 2.5);

    // Unanimated: no peg area; the pitch from the width alone; bins below the panel.
    board.SetAnimate(false);
    board.LayoutPanels(429);
    board.LayoutBoard();
    EXPECT_DOUBLE_EQ(board.Canvas().height, 0);
    EXPECT_DOUBLE_EQ(board.Results().top, 87);
    EXPECT_DOUBLE_EQ(board.Results().height, 429 - 86 - 51);
    EXPECT_DOUBLE_EQ(board.Step(), 633.0 / 20);

    // Too low: the last heights that fitted stay; animated again over a canvas of
    // height 0 keeps the last pitch.
    board.SetAnimate(true);
    board.LayoutPanels(100);
    board.LayoutBoard();
    EXPECT_DOUBLE_EQ(board.Canvas().height, 0);
    EXPECT_DOUBLE_EQ(board.Results().height, 429 - 86 - 51);
    EXPECT_DOUBLE_EQ(board.Step(), 633.0 / 20);
}

TEST(PegBoard, FullestBinReachesTheFullHeightAndTheOthersScaleWithIt) {
    PegBoard board;
    board.SetLevels(4);
    board.ResetBins();
    board.LayoutBoard();
    for (int i = 0; i < 3; ++i)
        board.CountBall(2);
    board.CountBall(0);
    board.DrawHistogram();
    const double full = board.Results().height;
    EXPECT_DOUBLE_EQ(board.Bar(2).height, full);
    EXPECT_DOUBLE_EQ(board.Bar(0).height, full / 3);
    EXPECT_DOUBLE_EQ(board.Bar(0).Bottom(), board.Results().Bottom());
    EXPECT_EQ(board.Bar(4).height, 0);
}

} // namespace
