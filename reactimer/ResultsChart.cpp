#include "ResultsChart.h"

#include "Conversions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace reactimer {

namespace {

// A coordinate to the nearest pixel, halves to even.
int Pixel(double v) {
    const double r = platform::RoundHalfEven(v);
    return static_cast<int>(std::clamp(r, -1e9, 1e9));
}

int64_t Round64(double v) {
    return static_cast<int64_t>(platform::RoundHalfEven(v));
}

// The integer part in decimal digits, whatever its size.
std::string IntegerPart(double v) {
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", std::trunc(v) + 0.0); // no "-0"
    return text;
}

} // namespace

double ResultsFit::G(int N) const {
    return T + P * std::log(static_cast<double>(N));
}

ResultsFit FitMeans(const StageMeans& means, int nums) {
    ResultsFit fit;
    const int n = std::clamp(nums, 0, kMaxStages);
    if (n == 0)
        return fit;
    fit.T = fit.Tmax = means[0];
    for (int k = 1; k < n; ++k) {
        fit.T = std::min(fit.T, means[static_cast<size_t>(k)]);
        fit.Tmax = std::max(fit.Tmax, means[static_cast<size_t>(k)]);
    }
    if (n > 1) {
        double sum = 0;
        for (int k = 1; k < n; ++k)
            sum += (means[static_cast<size_t>(k)] - fit.T) / std::log(k + 1.0);
        fit.P = sum / (n - 1);
    }
    for (int k = 1; k < n; ++k)
        fit.Tmax = std::max(fit.Tmax, fit.G(k + 1));
    return fit;
}

std::vector<int64_t> TickValues(double T, double Tmax) {
    // Beyond this the tick values leave the integers a double holds exactly.
    constexpr double kLargest = 1e15;
    if (!(std::fabs(T) < kLargest && std::fabs(Tmax) < kLargest && T <= Tmax))
        return {};
    const int64_t s = Round64((Tmax - T) / 10);
    const int64_t d = s <= 1 ? 1 : s <= 4 ? 2 : s <= 9 ? 5 : s - s % 10;
    const int64_t first = static_cast<int64_t>(std::trunc(T - static_cast<double>(Round64(T) % d))) + d;
    const int64_t last = static_cast<int64_t>(std::trunc(Tmax - static_cast<double>(Round64(Tmax) % d)));
    std::vector<int64_t> values;
    for (int64_t v = first; v <= last; v += d)
        values.push_back(v);
    return values;
}

std::string ThresholdLegend(const ResultsFit& fit) {
    return "T = threshold reaction time = " + IntegerPart(fit.T) + " ms";
}

std::string ProcessingLegend(const ResultsFit& fit) {
    return "P = average processing time per bit = " + IntegerPart(fit.P * std::log(2.0)) + " ms";
}

ChartDrawing DrawChart(const ChartInput& input) {
    ChartDrawing chart;
    const int n = std::clamp(input.results.nums, 0, kMaxStages);
    const StageMeans& f = input.results.means;
    const ResultsFit fit = FitMeans(f, n);
    chart.fit = fit;
    const double W = input.width;
    const double H = input.height;

    const TextExtent top = input.measure(IntegerPart(fit.Tmax) + " ms");
    const int L = top.cx + 40;
    const int B = Pixel(2.5 * top.cy + 20 + 20 + input.buttonHeight + 20);
    chart.left = L;
    chart.bottom = B;
    chart.buttonLeft = Pixel(L + (W - input.buttonWidth - L - 20) / 2);
    chart.buttonTop = input.height - 20 - input.buttonHeight;

    const double axisY = H - B;
    const double Sx = n > 1 ? (W - L - 20) / (n - 1) : 0;
    const double Sy = fit.Scaled() ? (H - 20 - B) / (fit.Tmax - fit.T) : 0;
    const auto x = [&](int k) { return k * Sx + L; };
    const auto y = [&](double v) { return fit.Scaled() ? axisY - (v - fit.T) * Sy : (20 + axisY) / 2; };

    auto& marks = chart.marks;
    const auto line = [&](uint32_t color, double x1, double y1, double x2, double y2) {
        marks.push_back({ChartMark::Kind::Line, color, Pixel(x1), Pixel(y1), Pixel(x2), Pixel(y2), {}});
    };
    const auto text = [&](uint32_t color, double left, double topY, std::string s) {
        marks.push_back({ChartMark::Kind::Text, color, Pixel(left), Pixel(topY), 0, 0, std::move(s)});
    };

    line(kChartBlack, L, axisY, W - 20, axisY);
    line(kChartBlack, L, 20, L, axisY);
    for (int k = 0; k < n; ++k) {
        line(kChartBlack, x(k), axisY + 10, x(k), axisY);
        const std::string label = std::to_string(k + 1);
        text(kChartBlack, x(k) - input.measure(label).cx / 2.0, axisY + 20, label);
    }
    if (fit.Scaled()) {
        for (const int64_t v : TickValues(fit.T, fit.Tmax)) {
            const double at = y(static_cast<double>(v));
            line(kChartBlack, L - 10, at, L, at);
            const std::string label = std::to_string(v) + " ms";
            const TextExtent e = input.measure(label);
            text(kChartBlack, L - 20 - e.cx, at - e.cy / 2.0, label);
        }
    }

    if (n == 1)
        line(kChartRed, x(0), y(f[0]), x(0), y(f[0]));
    for (int k = 1; k < n; ++k)
        line(kChartRed, x(k - 1), y(f[static_cast<size_t>(k - 1)]), x(k), y(f[static_cast<size_t>(k)]));
    for (int j = 1; j < n; ++j)
        line(kChartBlue, x(j - 1), y(fit.G(j)), x(j), y(fit.G(j + 1)));

    const struct {
        uint32_t color;
        std::string text;
        double lines; // above the x-axis, in text heights
    } legends[] = {
        {kChartRed, "f(N) = Reaction time in milliseconds", 9.4},
        {kChartBlue, "g(N) = T + P * Log(1/N)", 5.4},
        {kChartBlue, ThresholdLegend(fit), 4.2},
        {kChartBlue, ProcessingLegend(fit), 3},
    };
    for (const auto& legend : legends) {
        const TextExtent e = input.measure(legend.text);
        text(legend.color, W - 20 - e.cx, axisY - legend.lines * e.cy, legend.text);
    }
    const std::string caption = "N = number of choices";
    const TextExtent e = input.measure(caption);
    text(kChartBlack, L + (W - e.cx - L - 20) / 2, axisY + 20 + 1.5 * e.cy, caption);
    return chart;
}

} // namespace reactimer
