#include "Stroke.h"

#include "Conversions.h"

#include <algorithm>

namespace neuromesh {

void StrokeRecorder::Press(float x, float y) {
    Move(x, y);
    pointcount_ = 0;
}

void StrokeRecorder::Tick() {
    if (pointcount_ >= kMaxPoints)
        return;
    if (size_t(pointcount_) >= strokeX_.size()) {
        const size_t size = std::min(2 * strokeX_.size(), size_t(kMaxPoints));
        strokeX_.resize(size);
        strokeY_.resize(size);
    }
    strokeX_[size_t(pointcount_)] = lastx_;
    strokeY_[size_t(pointcount_)] = lasty_;
    ++pointcount_;
}

StrokeOutcome ResampleStroke(const StrokeRecorder& stroke, int inputsize, float canvasWidth,
                             float canvasHeight, std::vector<double>& sampled,
                             std::vector<double>& inputvec) {
    const int count = stroke.pointcount();
    if (inputsize < 1 || count < inputsize)
        return StrokeOutcome::kTooShort;
    const std::span<const float> x = stroke.strokeX(), y = stroke.strokeY();
    const int n = inputsize;
    // Positions never pass the last point; the clamp only guards the index.
    auto index = [count](double pos) {
        return std::clamp(int(platform::RoundHalfEven(pos)), 0, count - 1);
    };
    float minX = canvasWidth, minY = canvasHeight, maxX = 0, maxY = 0;
    double pos = 0;
    const double step = double(count - 1) / n;
    sampled.assign(2 * size_t(n), 0.0);
    for (int i = 0; i < n; ++i) {
        int k = index(pos);
        sampled[2 * i] = x[k];
        sampled[2 * i + 1] = y[k];
        pos += step;
        k = index(pos);
        maxX = std::max(maxX, x[k]);
        maxY = std::max(maxY, y[k]);
        minX = std::min(minX, x[k]);
        minY = std::min(minY, y[k]);
    }
    if (minX == maxX || minY == maxY)
        return StrokeOutcome::kFlat;
    const float width = maxX - minX, height = maxY - minY;
    inputvec.resize(2 * size_t(n));
    for (int i = 0; i < n; ++i) {
        inputvec[2 * i] = (sampled[2 * i] - minX) / width;
        inputvec[2 * i + 1] = (sampled[2 * i + 1] - minY) / height;
    }
    return StrokeOutcome::kKept;
}

int BestCategory(std::span<const double> outputs) {
    size_t best = 0;
    for (size_t k = 1; k < outputs.size(); ++k)
        if (outputs[k] > outputs[best])
            best = k;
    return int(best);
}

} // namespace neuromesh
