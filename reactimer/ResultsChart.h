#pragma once

#include "ResultsFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The fit of the stage means and the chart of the results window, as numbers:
// the window measures texts and replays the drawing on its surface.
//
// The fit is g(N) = T + P * ln N, T the smallest mean and P the average over
// all stages but the first of each stage's excess over T divided by the log
// of its number of choices. The chart plots the means in red and the curve in
// blue against the number of choices, between margins that follow from the
// extents of its texts, with ticks, labels and legends.
//
// Where the scale is undefined (fewer than two stages, or all means equal),
// the chart draws what it can without dividing by zero: one stage stands at
// the y-axis, and equal means lie on a level line at mid-height without
// y ticks; the legends are drawn as ever (P is 0).

namespace reactimer {

struct ResultsFit {
    double T = 0;    // the smallest mean
    double Tmax = 0; // the largest mean, raised to the curve's top
    double P = 0;    // milliseconds per unit of ln N

    double G(int N) const;
    // Whether the y range is wide enough to scale.
    bool Scaled() const { return Tmax > T; }
};

// The fit of means[0 .. nums - 1].
ResultsFit FitMeans(const StageMeans& means, int nums);

// The values of the y ticks between T and Tmax: a round step of about a tenth
// of the range, from the first multiple above T to the last up to Tmax; none
// for a range beyond 1e15 in magnitude.
std::vector<int64_t> TickValues(double T, double Tmax);

// The legends of the fit: "T = threshold reaction time = 250 ms" and
// "P = average processing time per bit = 120 ms".
std::string ThresholdLegend(const ResultsFit& fit);
std::string ProcessingLegend(const ResultsFit& fit);

constexpr uint32_t kChartBlack = 0x000000;
constexpr uint32_t kChartRed = 0x0000FF;  // 0x00BBGGRR
constexpr uint32_t kChartBlue = 0xFF0000;

struct TextExtent {
    int cx = 0;
    int cy = 0;
};

// One stroke of the chart: a line from (x1, y1) to (x2, y2), or a text with
// its top-left corner at (x1, y1); in pixels of the window.
struct ChartMark {
    enum class Kind { Line, Text } kind = Kind::Line;
    uint32_t color = kChartBlack;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string text;
};

struct ChartInput {
    StageResults results;
    int width = 0;  // the client area, W x H pixels
    int height = 0;
    int buttonWidth = 0; // the save button
    int buttonHeight = 0;
    std::function<TextExtent(const std::string&)> measure;
};

struct ChartDrawing {
    ResultsFit fit;
    int left = 0;   // the margins L and B
    int bottom = 0;
    int buttonLeft = 0;
    int buttonTop = 0;
    // The strokes in the order they are drawn.
    std::vector<ChartMark> marks;
};

ChartDrawing DrawChart(const ChartInput& input);

} // namespace reactimer
