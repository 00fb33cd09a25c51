#pragma once

#include "FillControl.h"
#include "FractalView.h"

#include <atomic>
#include <cstdint>

namespace fractalux {

using FillProgressCallback = void (*)(double);

// One fill of a view's buffer ((width + 2) x (height + 2) values, the border cells already set):
// scans for pixels not yet computed (value 0), traces the boundary of the region of equal value
// around each, and fills the inside of slow regions without computing it. Runs at work under its
// control, going out around each progress callback (the one the slot holds at that moment; no
// progress pointer for a fill without callbacks); once ended it stops at its next check and
// stores nothing more.
class BoundaryFill {
public:
    BoundaryFill(const FractalView& view, std::atomic<int32_t>* buffer, int32_t width,
                 int32_t height, FillControl& control,
                 const std::atomic<FillProgressCallback>* progress);

    // Forward scan, top row first, each row left to right. False when ended early.
    bool FillWorker();
    // Backward scan, bottom row first, each row right to left. False when ended early.
    bool FillWorkerReverse();

    // How many pixels this fill has computed with the fractal function.
    int64_t ComputedCount() const { return computed_; }

private:
    bool Scan(bool reverse);
    bool ReportProgress(int32_t row);
    bool TraceRegion(int64_t start, int32_t x, int32_t y, bool reverse);
    bool Compute(int64_t index, int32_t x, int32_t y, int32_t& value);
    void FillBeside(int64_t index, int32_t value, bool rightwards);

    int32_t Load(int64_t index) const { return buffer_[index].load(std::memory_order_relaxed); }
    void Store(int64_t index, int32_t value) {
        buffer_[index].store(value, std::memory_order_relaxed);
    }

    FractalView view_;
    std::atomic<int32_t>* buffer_;
    int32_t width_;
    int32_t height_;
    int64_t stride_;
    int64_t delta_[4];
    FillControl& control_;
    const std::atomic<FillProgressCallback>* progress_;
    int64_t computed_ = 0;
};

} // namespace fractalux
