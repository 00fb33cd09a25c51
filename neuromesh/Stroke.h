#pragma once

#include <span>
#include <vector>

// A freehand stroke as the drawing canvas records it, its resampling to a
// fixed number of points and their normalisation into the stroke's bounding
// box, and the choice of a category from the network's outputs.

namespace neuromesh {

// The pointer positions of one stroke (in the canvas's twips, y growing
// downwards): the latest position seen, and the points recorded at each
// capture tick.
class StrokeRecorder {
public:
    // A stroke records at most this many points; later ticks record nothing.
    static constexpr int kMaxPoints = 32767;

    StrokeRecorder() : strokeX_(1), strokeY_(1) {}

    // A button went down at (x, y): a new stroke from there.
    void Press(float x, float y);
    // The pointer moved to (x, y); records nothing by itself.
    void Move(float x, float y) {
        lastx_ = x;
        lasty_ = y;
    }
    // A capture tick: records the latest position. The arrays grow to
    // 2 × their upper bound + 1 when full, and never shrink.
    void Tick();

    int pointcount() const { return pointcount_; }
    float lastx() const { return lastx_; }
    float lasty() const { return lasty_; }
    std::span<const float> strokeX() const {
        return std::span(strokeX_).first(size_t(pointcount_));
    }
    std::span<const float> strokeY() const {
        return std::span(strokeY_).first(size_t(pointcount_));
    }

private:
    std::vector<float> strokeX_, strokeY_;
    int pointcount_ = 0;
    float lastx_ = 0, lasty_ = 0;
};

enum class StrokeOutcome {
    kKept,     // the normalised input vector is ready
    kTooShort, // fewer points than the input size: dropped
    kFlat,     // zero width or height of the box: dropped
};

// Resamples the recorded stroke to n = inputsize points: point i is the
// recorded point at position i × step, step = (pointcount − 1) / n, rounded
// half to even. The bounding box is taken over the positions step, 2 × step,
// ..., n × step, starting from minimum = the canvas size and maximum = 0 in
// single precision. sampled receives the 2n resampled coordinates and, for a
// kept stroke, inputvec the same scaled into the box per axis: values fall
// outside 0 to 1 where a point lies outside the box.
StrokeOutcome ResampleStroke(const StrokeRecorder& stroke, int inputsize, float canvasWidth,
                             float canvasHeight, std::vector<double>& sampled,
                             std::vector<double>& inputvec);

// The category of the largest output; ties go to the lower number. 0 for no
// outputs.
int BestCategory(std::span<const double> outputs);

} // namespace neuromesh
