#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The peg board of Pegfall without its window: the number of peg rows, the
// counts of the bins below them, and where the window's areas, pegs, bars,
// count labels and the segments of the normal curve stand, in pixels of the
// window's client area (y grows downwards), as real values. The window places
// its controls at these values to the nearest pixel.
//
// The board is laid out in two steps: the areas from the client size
// (SetClientWidth, LayoutPanels), then the pitch and everything on the board
// from the areas (LayoutBoard). DrawHistogram works out the bar heights and
// the count labels from the counts.

namespace pegfall {

// A rectangle of the client area.
struct Area {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
};

// One segment of the normal curve, from (x0, y0) to (x1, y1).
struct Segment {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

// Nearest integer, halves to the even one, kept within the 16-bit range.
int Round16(double value);

class PegBoard {
public:
    static constexpr int kMinLevels = 1;
    static constexpr int kMaxLevels = 30;
    // Design sizes.
    static constexpr double kPanelHeight = 65;   // the panel behind the controls
    static constexpr double kCanvasTop = 86;     // the peg area's top, fixed
    static constexpr double kPegSize = 8;        // the peg picture
    static constexpr double kBallSize = 16;      // the ball picture
    static constexpr double kLabelWidth = 105;   // a count label
    static constexpr double kLabelHeight = 17;
    static constexpr double kDesignWidth = 633;  // the client area at start
    static constexpr double kDesignHeight = 429;

    PegBoard();

    // The levels a text asks for: its leading number rounded (halves to even),
    // 0 when it has none, raised to 1 and lowered to 30, however large.
    static int ReadLevels(std::string_view text);

    int Levels() const { return levels_; }
    // Takes effect at the next layout; the bins stay until ResetBins.
    void SetLevels(int levels);

    // The counts: total = 0, bins 0 to levels all 0.
    void ResetBins();
    // One ball more in `bin` (0 to levels).
    void CountBall(int bin);
    const std::vector<uint64_t>& Bins() const { return bins_; }
    uint64_t Total() const { return total_; }
    // Whether the chart is redrawn after a ball counted without animation at
    // speed 0 to 4: after every ball below 2, otherwise every 5, 10 or 5000 balls.
    bool RedrawDue(int speed) const;

    // One ball through every row without animation: a draw of PRNGOpenDouble
    // per row, a turn to the right for a draw >= 0.5. Gives its bin, the number
    // of turns to the right.
    static int DropBall(int levels);

    // Whether the ball is animated: the peg area has a height and the pegs show.
    bool Animate() const { return animate_; }
    void SetAnimate(bool animate) { animate_ = animate; }

    // The panel, the peg area and the bin area take the client width.
    void SetClientWidth(double width);
    // The heights of the peg area and the bin area for the client height. A
    // height that does not fit keeps the last one that did.
    void LayoutPanels(double clientHeight);
    // The pitch from the areas, the bars on the bottom of the bin area at
    // height 0 and the labels in one line below it. A pitch that comes out 0
    // (an animated board over a peg area of height 0) keeps the last one.
    void LayoutBoard();

    const Area& Canvas() const { return canvas_; }
    const Area& Results() const { return results_; }
    double Step() const { return step_; }

    // Pegs, n counted row by row from 0: levels * (levels + 1) / 2 of them.
    int PegCount() const { return levels_ * (levels_ + 1) / 2; }
    // Peg j (0 to i) of row i: its picture's left and top.
    double PegLeft(int row, int j) const;
    double PegTop(int row) const;

    // Bar k (0 to levels) as the last layout and DrawHistogram left it.
    Area Bar(int k) const;
    // Count label k: centred under its bar.
    Area Label(int k) const;
    // Whether the labels stand in two lines (even ones up, odd ones down).
    bool Staggered() const { return staggered_; }
    std::string CountText(int k) const;

    // The bar heights from the counts: the fullest bin reaches the bin area's
    // height, all are 0 without a ball; the labels stagger when the middle
    // bin's count has more than 4 digits and return to one line when it has
    // 4 or fewer.
    void DrawHistogram();

    // The normal curve over the bars in 2-pixel steps: segments 0 to n, with
    // n = CurveLast().
    int CurveLast() const;
    std::vector<Segment> Curve() const;

private:
    double CurveY(double x) const;

    int levels_ = 8;
    std::vector<uint64_t> bins_;
    uint64_t total_ = 0;
    bool animate_ = true;
    Area canvas_;
    Area results_;
    double step_ = 0;
    // Bars as laid out: left and width from the pitch; heights from the counts.
    double barWidth_ = 0;
    std::vector<double> barLeft_;
    std::vector<double> barHeight_;
    // The labels' line, the bottom of the bin area plus a label height.
    double labelLine_ = 0;
    bool staggered_ = false;
};

} // namespace pegfall
