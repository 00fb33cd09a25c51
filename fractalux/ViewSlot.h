#pragma once

#include "BoundaryFill.h"
#include "FillControl.h"
#include "FractalView.h"
#include "PictureLock.h"
#include "PixelFormat.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <thread>
#include <vector>

namespace fractalux {

using FillDoneCallback = void (*)();

// One independent view: its size and pixel format, plane window and fractal, colouring, the
// buffer of pixel values with a one-cell border, and at most one fill worker.
//
// A slot is driven from one client thread at a time, its callbacks included; only Buf2Surface may
// also be called from a callback while the client's thread goes on with other calls, since
// ending a fill does not wait for its callbacks. Its worker only writes buffer values; every call
// that replaces, rebuilds or clears the buffer first ends the worker, waiting only until the
// worker is out of the buffer (never for a callback), so only Buf2Surface ever reads the buffer
// during a fill. An ended worker may still be inside a client callback: it is kept until it has
// returned and stopped, and the slot's destruction waits for every worker. A fill calls the
// callbacks the slot holds at the time of each call. Buffer values are whole 32-bit atomics, so no
// pixel is seen half written.
class ViewSlot {
public:
    // The largest image side, and the largest buffer in values (1 GiB).
    static constexpr int32_t kMaxSide = 65535;
    static constexpr int64_t kMaxCells = int64_t{1} << 28;

    ViewSlot() = default;
    ViewSlot(const ViewSlot&) = delete;
    ViewSlot& operator=(const ViewSlot&) = delete;
    ~ViewSlot();

    // 0, or -1 when the format code or the size is refused (the slot unchanged).
    int32_t Initialize(int32_t width, int32_t height, int32_t format);
    void SetParams(double top, double left, double step, int32_t maxIts);
    void GetParams(double* top, double* left, double* step, int32_t* maxIts) const;
    void SetFractal(int32_t kind, double re, double im);
    void SetCallbacks(FillDoneCallback done, FillProgressCallback progress);
    void SetColorOrder(int32_t a, int32_t b, int32_t c);
    void SetColorCycles(int32_t n);

    void FillBuffer();
    void FillBufferSync();
    void ChangeIts(int32_t maxIts);
    void Pan(int32_t dx, int32_t dy);
    void ZoomBlock(int32_t n);
    void ZoomOutBlock(int32_t n);
    void ZoomCorner(double step);
    void Resample(int32_t width, int32_t height);
    int32_t Buf2Surface(void* bits, int32_t pitch) const;

    const FractalView& View() const { return view_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

private:
    struct Worker {
        FillControl control;
        std::thread thread;
        // Set once the slot is done starting the worker, which waits for it before its scan, so
        // that a callback calling back into the slot never meets a start still under way.
        std::atomic<bool> started{false};
        // Set as the thread's last step: joining it then waits for nothing.
        std::atomic<bool> exited{false};
    };

    // What a worker fills: the view and buffer as they stood when it was started.
    struct FillJob {
        FractalView view;
        std::atomic<int32_t>* buffer;
        int32_t width;
        int32_t height;
        bool reverse;
    };

    static std::unique_ptr<std::atomic<int32_t>[]> Allocate(int32_t width, int32_t height);
    static int32_t ClampIts(int32_t maxIts);

    // Always the last step of a call: the new worker may call back into the slot at once.
    void StartFill(bool reverse);
    void RunWorker(Worker& worker, FillJob job);
    void EndWorker();
    // Joins the ended workers that have stopped; the caller holds workersMutex_.
    void JoinStoppedWorkers();
    void SetBorders();
    void ClearPixels(int32_t y, int32_t fromX, int32_t toX);
    void SetMaxIts(int32_t maxIts);

    int64_t Index(int64_t x, int64_t y) const { return (y + 1) * (width_ + 2) + x + 1; }
    int32_t Load(int64_t index) const { return buffer_[index].load(std::memory_order_relaxed); }
    void Store(int64_t index, int32_t value) {
        buffer_[index].store(value, std::memory_order_relaxed);
    }

    // Guards what Buf2Surface reads (the buffer, its size, the format, the cap, the kind and the
    // colour cycles) against a call that changes it while a callback shows the image.
    mutable PictureLock pictureLock_;
    FractalView view_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::optional<PixelFormat> format_;
    int32_t colorCycles_ = 0;
    std::unique_ptr<std::atomic<int32_t>[]> buffer_;
    std::atomic<FillDoneCallback> done_{nullptr};
    std::atomic<FillProgressCallback> progress_{nullptr};
    // The running worker and the ended ones not yet joined; the mutex guards only these, for a
    // callback that calls back into a slot being destroyed.
    std::mutex workersMutex_;
    std::unique_ptr<Worker> worker_;
    std::vector<std::unique_ptr<Worker>> ended_;
    std::atomic<bool> closing_{false};
};

} // namespace fractalux
