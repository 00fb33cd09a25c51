#pragma once

#include "DigitCounts.h"

#include <cstdint>
#include <string>
#include <string_view>

// The chart of the leading-digit window: the observed shares of the first
// digits 1 to 9 in red against the leading-digit law log10(1 + 1/d) in blue,
// over a digit axis and a share axis in steps of 10%, with a legend at the
// top right. It is drawn whole from the counts each time, through a canvas the
// window provides.

namespace leadigit {

// Where the chart draws, in pixels.
class ChartCanvas {
public:
    virtual ~ChartCanvas() = default;
    // Extents of a text in the canvas's font.
    virtual int TextWidth(std::string_view text) = 0;
    virtual int TextHeight(std::string_view text) = 0;
    // Colour of lines and texts drawn from now on, as 0x00BBGGRR.
    virtual void SetColor(uint32_t bgr) = 0;
    // A line between two points that may fall between pixels.
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    // A text with its top-left corner at (x, y).
    virtual void Text(int x, int y, std::string_view text) = 0;
};

struct ChartArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr uint32_t kAxisColor = 0x000000;
inline constexpr uint32_t kActualColor = 0x0000FF;
inline constexpr uint32_t kLawColor = 0xFF0000;

// The share of first digit d (1 to 9) under the leading-digit law.
double LawShare(int d);

// Draws the chart of counts into area; nothing when no value has a digit 1 to 9.
void DrawDigitChart(const DigitCounts& counts, const ChartArea& area, ChartCanvas& canvas);

// The label of share v on the share axis: v x 100 in at most 15 significant
// digits, then "%".
std::string ShareLabel(double v);

} // namespace leadigit
