#include "BoundaryFill.h"

namespace fractalux {

namespace {

// Directions of the tracer: 0 right, 1 down, 2 left, 3 up; clockwise is d + 1.
constexpr int32_t kDx[4] = {1, 0, -1, 0};
constexpr int32_t kDy[4] = {0, 1, 0, -1};

} // namespace

BoundaryFill::BoundaryFill(const FractalView& view, std::atomic<int32_t>* buffer, int32_t width,
                           int32_t height, FillControl& control,
                           const std::atomic<FillProgressCallback>* progress)
    : view_(view), buffer_(buffer), width_(width), height_(height),
      stride_(int64_t{width} + 2), delta_{1, stride_, -1, -stride_}, control_(control),
      progress_(progress) {}

bool BoundaryFill::FillWorker() {
    return Scan(false);
}

bool BoundaryFill::FillWorkerReverse() {
    return Scan(true);
}

bool BoundaryFill::ReportProgress(int32_t row) {
    if (!progress_) {
        return !control_.Ended();
    }
    if (!control_.Suspend()) {
        return false;
    }
    if (const FillProgressCallback progress = progress_->load(std::memory_order_acquire)) {
        progress(static_cast<double>(row) / height_);
    }
    return control_.Resume();
}

bool BoundaryFill::Scan(bool reverse) {
    for (int32_t row = 0; row < height_; ++row) {
        if (!ReportProgress(row)) {
            return false;
        }
        const int32_t y = reverse ? height_ - 1 - row : row;
        for (int32_t col = 0; col < width_; ++col) {
            const int32_t x = reverse ? width_ - 1 - col : col;
            const int64_t index = (y + 1) * stride_ + x + 1;
            if (Load(index) == 0 && !TraceRegion(index, x, y, reverse)) {
                return false;
            }
        }
    }
    return true;
}

bool BoundaryFill::Compute(int64_t index, int32_t x, int32_t y, int32_t& value) {
    if (control_.Ended()) {
        return false;
    }
    value = view_.ValueAt(x, y, &control_);
    if (value == 0) {
        return false;
    }
    Store(index, value);
    ++computed_;
    return true;
}

bool BoundaryFill::TraceRegion(int64_t start, int32_t x, int32_t y, bool reverse) {
    int32_t m = 0;
    if (!Compute(start, x, y, m)) {
        return false;
    }
    const int32_t firstHeading = reverse ? 2 : 0;

    // Follow the region's boundary, trying the counter-clockwise turn first, computing every
    // neighbour it looks at, until back at the start.
    int64_t q = start;
    int32_t qx = x;
    int32_t qy = y;
    int32_t heading = firstHeading;
    for (;;) {
        if (control_.Ended()) {
            return false;
        }
        bool moved = false;
        for (int32_t k = 0; k < 4; ++k) {
            const int32_t d = (heading + 3 + k) & 3;
            const int64_t n = q + delta_[d];
            int32_t v = Load(n);
            if (v == 0 && !Compute(n, qx + kDx[d], qy + kDy[d], v)) {
                return false;
            }
            if (v == m) {
                q = n;
                qx += kDx[d];
                qy += kDy[d];
                heading = d;
                moved = true;
                break;
            }
        }
        if (!moved || q == start) {
            break;
        }
    }
    // Points that escape within the first eleven iterations are cheap: their regions are only
    // traced, and the scan computes their insides.
    if (m >= int64_t{view_.maxIts} - 10) {
        return true;
    }

    // The same walk again, every value on it now known, filling the inside row by row.
    q = start;
    heading = firstHeading;
    for (;;) {
        if (control_.Ended()) {
            return false;
        }
        bool moved = false;
        for (int32_t k = 0; k < 4; ++k) {
            const int32_t d = (heading + 3 + k) & 3;
            if (Load(q + delta_[d]) == m) {
                q += delta_[d];
                heading = d;
                moved = true;
                break;
            }
        }
        if (!moved) {
            break;
        }
        if (reverse) {
            FillBeside(q, m, true);
        } else if (heading == 1 || heading == 2) {
            FillBeside(q, m, false);
        }
        if (q == start) {
            break;
        }
    }
    return true;
}

void BoundaryFill::FillBeside(int64_t index, int32_t value, bool rightwards) {
    const int64_t delta = rightwards ? 1 : -1;
    for (int64_t i = index + delta; Load(i) == 0; i += delta) {
        Store(i, value);
    }
}

} // namespace fractalux
