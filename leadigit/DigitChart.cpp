#include "DigitChart.h"

#include "Conversions.h"

#include <algorithm>
#include <cmath>

namespace leadigit {

double LawShare(int d) {
    return std::log(1.0 + 1.0 / d) / std::log(10.0);
}

std::string ShareLabel(double v) {
    return platform::FormatGeneralInvariant(v * 100) + "%";
}

void DrawDigitChart(const DigitCounts& counts, const ChartArea& area, ChartCanvas& canvas) {
    const int32_t total = counts.Total();
    if (total == 0)
        return;
    double law[10] = {};
    double share[10] = {};
    double top = 0;
    for (int d = 1; d <= 9; ++d) {
        law[d] = LawShare(d);
        share[d] = static_cast<double>(counts[d]) / total;
        top = std::max({top, law[d], share[d]});
    }

    const int leftMargin = canvas.TextWidth("40%") + 30;
    const int bottomMargin = canvas.TextHeight("40%") + 30;
    const double gl = area.left;
    const double gt = area.top;
    const double xStep = (area.width - leftMargin - 10) / 8.0;
    const double yScale = (area.height - 10 - bottomMargin) / top;
    const double y0 = gt + area.height - bottomMargin;
    const auto X = [&](int d) { return gl + leftMargin + (d - 1) * xStep; };
    const auto Y = [&](double v) { return y0 - v * yScale; };
    const auto Text = [&](double x, double y, std::string_view text) {
        canvas.Text(platform::NearestInt(x), platform::NearestInt(y), text);
    };

    canvas.SetColor(kAxisColor);
    canvas.Line(leftMargin, y0, gl + area.width - 10, y0);
    canvas.Line(leftMargin, gt + 10, leftMargin, y0);

    const double legendRight = gl + area.width - 10;
    canvas.SetColor(kActualColor);
    constexpr std::string_view kActual = "Actual distribution";
    Text(legendRight - canvas.TextWidth(kActual), gt + 10, kActual);
    canvas.SetColor(kLawColor);
    constexpr std::string_view kLaw = "Leadigit distribution";
    Text(legendRight - canvas.TextWidth(kLaw), gt + 10 + 1.5 * canvas.TextHeight(kLaw), kLaw);
    canvas.SetColor(kAxisColor);

    for (int d = 1; d <= 9; ++d) {
        canvas.Line(X(d), y0, X(d), y0 + 10);
        const std::string digit(1, static_cast<char>('0' + d));
        Text(X(d) - canvas.TextWidth(digit) / 2.0, y0 + 10, digit);
    }

    for (double v = 0; v <= top; v += 0.1) {
        canvas.Line(leftMargin - 10, Y(v), leftMargin, Y(v));
        const std::string label = ShareLabel(v);
        Text(leftMargin - 20 - canvas.TextWidth(label), Y(v) - canvas.TextHeight(label) / 2.0,
             label);
    }

    for (int d = 2; d <= 9; ++d) {
        canvas.SetColor(kLawColor);
        canvas.Line(X(d - 1), Y(law[d - 1]), X(d), Y(law[d]));
        canvas.SetColor(kActualColor);
        canvas.Line(X(d - 1), Y(share[d - 1]), X(d), Y(share[d]));
    }
    canvas.SetColor(kAxisColor);
}

} // namespace leadigit
