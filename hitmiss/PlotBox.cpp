#include "PlotBox.h"

#include <algorithm>
#include <cmath>

namespace hitmiss {

bool PlotBox::Scan(expression::clsExpression& f, double lowerX, double upperX, int columns) {
    samples_.clear();
    columns = std::max(columns, 1);
    const double step = (upperX - lowerX) / columns;
    double lowerY = 0;
    double upperY = 0;
    double x = lowerX;
    for (int i = 0; i <= columns && x <= upperX; ++i, x += step) {
        const double value = f.Value(x);
        if (value == expression::UndefinedResult) {
            undefinedAt_ = x;
            samples_.clear();
            return false;
        }
        upperY = std::max(upperY, value);
        lowerY = std::min(lowerY, value);
        samples_.push_back({x, value});
    }
    if (lowerY == upperY) {
        lowerY = -1;
        upperY = 1;
    }
    lowerY -= (upperY - lowerY) / 10;
    upperY += (upperY - lowerY) / 10;
    lowerY_ = lowerY;
    upperY_ = upperY;
    return true;
}

PlotScales ScalesFor(double lowerX, double upperX, double lowerY, double upperY, int innerWidth,
                     int innerHeight, int leftWidth, int topHeight) {
    PlotScales s;
    s.yScale = -(innerHeight - topHeight) / (upperY - lowerY);
    s.yOffset = innerHeight - lowerY * s.yScale;
    s.xScale = (innerWidth - leftWidth) / (upperX - lowerX);
    s.xOffset = leftWidth - lowerX * s.xScale;
    return s;
}

} // namespace hitmiss
