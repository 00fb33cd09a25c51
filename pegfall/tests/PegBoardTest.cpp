#include "FallingBall.h"
#include "PegBoard.h"
#include "PrngLibrary.h"

#include <gtest/gtest.h>

namespace {

using pegfall::FallingBall;
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

TEST(PegBoard, HistogramScalesToTheFullestBinAndStaggersWideCounts) {
    PegBoard board;
    board.SetLevels(4);
    board.ResetBins();
    board.LayoutBoard();
    board.DrawHistogram();
    for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(board.Bar(k).height, 0);
        EXPECT_EQ(board.CountText(k), "0");
    }
    const double full = board.Results().height;
    for (int i = 0; i < 9999; ++i)
        board.CountBall(2);
    board.CountBall(0);
    board.DrawHistogram();
    EXPECT_DOUBLE_EQ(board.Bar(2).height, full);
    EXPECT_DOUBLE_EQ(board.Bar(2).Bottom(), board.Results().Bottom());
    EXPECT_NEAR(board.Bar(0).height, full / 9999, 1e-12);
    EXPECT_FALSE(board.Staggered());
    const double line = board.Label(0).top;
    board.CountBall(2);
    board.DrawHistogram();
    ASSERT_TRUE(board.Staggered());
    EXPECT_EQ(board.CountText(2), "10000");
    EXPECT_DOUBLE_EQ(board.Label(0).top, line - 8.5);
    EXPECT_DOUBLE_EQ(board.Label(1).top, line + 8.5);
    board.ResetBins();
    board.DrawHistogram();
    EXPECT_FALSE(board.Staggered());
    EXPECT_DOUBLE_EQ(board.Label(1).top, line);
}

TEST(PegBoard, ChartRedrawsEveryFiveTenOr5000BallsFromSpeedTwo) {
    PegBoard board;
    const int intervals[] = {1, 1, 5, 10, 5000};
    for (int speed = 0; speed <= 4; ++speed) {
        board.ResetBins();
        int redraws = 0;
        for (int i = 0; i < 10000; ++i) {
            board.CountBall(0);
            redraws += board.RedrawDue(speed);
        }
        EXPECT_EQ(redraws, 10000 / intervals[speed]) << speed;
    }
    platform::ScriptedDraws draws({0.5, 0.4999, 0.9, 0.1, 0.7});
    EXPECT_EQ(PegBoard::DropBall(5), 3);
}

TEST(FallingBall, SwingsOneRowPerSwingThenFallsFasterEveryTick) {
    PegBoard board;
    board.SetLevels(1);
    board.LayoutBoard();
    FallingBall ball;
    for (const double draw : {0.5, 0.25}) {
        platform::ScriptedDraws draws({draw});
        ball.Reset(board);
        // Resting centred on the first peg.
        EXPECT_NEAR(ball.left + 8, board.PegLeft(0, 0) + 4, 0.5);
        EXPECT_NEAR(ball.top, board.PegTop(0) - 16, 0.5);
        int ticks = 0;
        while (!ball.falling && ticks < 100) {
            ASSERT_EQ(ball.Tick(board), -1);
            ++ticks;
        }
        EXPECT_EQ(draws.DoublesTaken(), 1u);
        // 10 or 11 ticks of pi/20, as the sums of the swing fall, then the tick that leaves.
        EXPECT_GE(ticks, 11);
        EXPECT_LE(ticks, 12);
        EXPECT_DOUBLE_EQ(ball.fallSpeed, 10);
        float top = ball.top;
        double expected = 10;
        int bin = -1;
        while ((bin = ball.Tick(board)) < 0) {
            EXPECT_NEAR(ball.top - top, expected, 1e-3) << draw;
            top = ball.top;
            expected += 2;
        }
        EXPECT_GE(ball.top + 16, board.Results().Bottom() - 0.001);
        // A draw >= 0.5 swings to the left, into bin 0.
        EXPECT_EQ(bin, draw >= 0.5 ? 0 : 1);
    }
}

} // namespace
