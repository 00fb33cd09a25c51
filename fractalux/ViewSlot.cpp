#include "ViewSlot.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <system_error>
#include <vector>

namespace fractalux {

namespace {

template <int Bytes>
void WritePixels(const std::atomic<int32_t>* buffer, int32_t width, int32_t height,
                 unsigned char* bits, int64_t pitch, const std::vector<uint32_t>& table,
                 const PixelFormat& format, int32_t maxIts, int32_t cycles, bool newton) {
    const int64_t stride = int64_t{width} + 2;
    const auto tableSize = static_cast<uint32_t>(table.size());
    for (int32_t y = 0; y < height; ++y) {
        const std::atomic<int32_t>* row = buffer + (y + 1) * stride + 1;
        unsigned char* out = bits + y * pitch;
        for (int32_t x = 0; x < width; ++x, out += Bytes) {
            const int32_t v = row[x].load(std::memory_order_relaxed);
            const uint32_t word = static_cast<uint32_t>(v) < tableSize
                                      ? table[static_cast<uint32_t>(v)]
                                      : format.PixelColor(v, maxIts, cycles, newton);
            for (int b = 0; b < Bytes; ++b) {
                out[b] = static_cast<unsigned char>(word >> (8 * b));
            }
        }
    }
}

} // namespace

ViewSlot::~ViewSlot() {
    // A callback still running may start a fill on this slot: none starts from now on, and the
    // loop takes whatever was started before.
    closing_.store(true);
    for (;;) {
        std::vector<std::unique_ptr<Worker>> workers;
        {
            const std::lock_guard lock(workersMutex_);
            workers = std::move(ended_);
            ended_.clear();
            if (worker_) {
                workers.push_back(std::move(worker_));
            }
        }
        if (workers.empty()) {
            return;
        }
        for (const auto& worker : workers) {
            worker->control.End();
        }
        for (const auto& worker : workers) {
            worker->thread.join();
        }
    }
}

std::unique_ptr<std::atomic<int32_t>[]> ViewSlot::Allocate(int32_t width, int32_t height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        return nullptr;
    }
    const int64_t cells = (int64_t{width} + 2) * (int64_t{height} + 2);
    if (cells > kMaxCells) {
        return nullptr;
    }
    return std::unique_ptr<std::atomic<int32_t>[]>(
        new (std::nothrow) std::atomic<int32_t>[static_cast<size_t>(cells)]());
}

int32_t ViewSlot::ClampIts(int32_t maxIts) {
    // Values run up to maxIts + 1 and the border holds maxIts + 2. A cap below 1 is kept: no
    // point escapes under it.
    return std::min(maxIts, INT32_MAX - 2);
}

int32_t ViewSlot::Initialize(int32_t width, int32_t height, int32_t format) {
    const std::optional<PixelFormat> layout = PixelFormat::FromCode(format);
    if (!layout) {
        return -1;
    }
    auto buffer = Allocate(width, height);
    if (!buffer) {
        return -1;
    }
    EndWorker();
    const std::unique_lock picture(pictureLock_);
    buffer_ = std::move(buffer);
    width_ = width;
    height_ = height;
    format_ = layout;
    return 0;
}

void ViewSlot::SetParams(double top, double left, double step, int32_t maxIts) {
    const std::unique_lock picture(pictureLock_);
    view_.top = top;
    view_.left = left;
    view_.step = step;
    view_.maxIts = ClampIts(maxIts);
}

void ViewSlot::GetParams(double* top, double* left, double* step, int32_t* maxIts) const {
    if (top) {
        *top = view_.top;
    }
    if (left) {
        *left = view_.left;
    }
    if (step) {
        *step = view_.step;
    }
    if (maxIts) {
        *maxIts = view_.maxIts;
    }
}

void ViewSlot::SetFractal(int32_t kind, double re, double im) {
    const std::unique_lock picture(pictureLock_);
    if (kind >= 1 && kind <= 3) {
        view_.kind = static_cast<FractalKind>(kind);
    }
    view_.juliaRe = re;
    view_.juliaIm = im;
}

void ViewSlot::SetCallbacks(FillDoneCallback done, FillProgressCallback progress) {
    done_.store(done, std::memory_order_release);
    progress_.store(progress, std::memory_order_release);
}

void ViewSlot::SetColorOrder(int32_t a, int32_t b, int32_t c) {
    const std::unique_lock picture(pictureLock_);
    if (format_) {
        format_->SetColorOrder(a, b, c);
    }
}

void ViewSlot::SetColorCycles(int32_t n) {
    const std::unique_lock picture(pictureLock_);
    colorCycles_ = n;
}

void ViewSlot::SetMaxIts(int32_t maxIts) {
    const std::unique_lock picture(pictureLock_);
    view_.maxIts = maxIts;
}

void ViewSlot::EndWorker() {
    std::unique_ptr<Worker> worker;
    {
        const std::lock_guard lock(workersMutex_);
        worker = std::move(worker_);
    }
    if (!worker) {
        return;
    }
    // Returns once the worker is out of the buffer; it may still be inside a callback, and then
    // stops when that returns.
    worker->control.End();
    const std::lock_guard lock(workersMutex_);
    ended_.push_back(std::move(worker));
    JoinStoppedWorkers();
}

void ViewSlot::JoinStoppedWorkers() {
    std::erase_if(ended_, [](const std::unique_ptr<Worker>& worker) {
        if (!worker->exited.load(std::memory_order_acquire)) {
            return false;
        }
        worker->thread.join();
        return true;
    });
}

void ViewSlot::SetBorders() {
    const int32_t border = view_.BorderValue();
    const int64_t stride = int64_t{width_} + 2;
    const int64_t last = (int64_t{height_} + 1) * stride;
    for (int64_t i = 0; i < stride; ++i) {
        Store(i, border);
        Store(last + i, border);
    }
    for (int64_t y = 1; y <= height_; ++y) {
        Store(y * stride, border);
        Store(y * stride + stride - 1, border);
    }
}

void ViewSlot::ClearPixels(int32_t y, int32_t fromX, int32_t toX) {
    for (int64_t x = fromX; x < toX; ++x) {
        Store(Index(x, y), 0);
    }
}

void ViewSlot::StartFill(bool reverse) {
    EndWorker();
    if (closing_.load()) {
        return;
    }
    SetBorders();
    auto worker = std::make_unique<Worker>();
    try {
        const FillJob job{view_, buffer_.get(), width_, height_, reverse};
        worker->thread = std::thread(&ViewSlot::RunWorker, this, std::ref(*worker), job);
    } catch (const std::system_error&) {
        // No thread to be had: the fill does not start, the buffer stays as it is.
        return;
    }
    Worker& started = *worker;
    {
        const std::lock_guard lock(workersMutex_);
        worker_ = std::move(worker);
    }
    started.started.store(true, std::memory_order_release);
}

void ViewSlot::RunWorker(Worker& worker, FillJob job) {
    while (!worker.started.load(std::memory_order_acquire)) {
        std::this_thread::yield();
    }
    if (worker.control.Resume()) {
        BoundaryFill scan(job.view, job.buffer, job.width, job.height, worker.control, &progress_);
        const bool complete = job.reverse ? scan.FillWorkerReverse() : scan.FillWorker();
        // Out of the buffer before the client hears that the fill is done.
        if (complete && worker.control.Finish()) {
            if (const FillDoneCallback done = done_.load(std::memory_order_acquire)) {
                done();
            }
        } else {
            worker.control.Stop();
        }
    }
    worker.exited.store(true, std::memory_order_release);
}

void ViewSlot::FillBuffer() {
    if (!buffer_) {
        return;
    }
    EndWorker();
    const int64_t cells = (int64_t{width_} + 2) * (int64_t{height_} + 2);
    for (int64_t i = 0; i < cells; ++i) {
        Store(i, 0);
    }
    StartFill(false);
}

void ViewSlot::FillBufferSync() {
    if (!buffer_) {
        return;
    }
    EndWorker();
    for (int32_t y = 0; y < height_; ++y) {
        ClearPixels(y, 0, width_);
    }
    SetBorders();
    FillControl control;
    BoundaryFill(view_, buffer_.get(), width_, height_, control, nullptr).FillWorker();
}

void ViewSlot::ChangeIts(int32_t maxIts) {
    const int32_t n = ClampIts(maxIts);
    if (view_.kind == FractalKind::Newton) {
        // The running fill ends first: a callback of it may be showing the image by this cap.
        EndWorker();
        SetMaxIts(n);
        FillBuffer();
        return;
    }
    if (n == view_.maxIts) {
        return;
    }
    if (!buffer_) {
        SetMaxIts(n);
        return;
    }
    EndWorker();
    const int64_t shift = int64_t{n} - view_.maxIts;
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            const int64_t i = Index(x, y);
            const int32_t v = Load(i);
            if (v == 0 || v == 1) {
                // Not yet computed stays so; a point that did not escape may escape now.
                Store(i, shift > 0 ? 0 : v);
            } else if (shift < 0) {
                Store(i, 0);
            } else {
                // Same escape iteration under the higher cap; a value no escape gives is redone.
                const int64_t shifted = v + shift;
                Store(i, shifted >= 2 && shifted <= int64_t{n} + 1 ? static_cast<int32_t>(shifted)
                                                                   : 0);
            }
        }
    }
    SetMaxIts(n);
    StartFill(false);
}

void ViewSlot::Pan(int32_t dx, int32_t dy) {
    if (!buffer_) {
        return;
    }
    EndWorker();
    const int64_t w = width_;
    const int64_t h = height_;
    // New pixel (x, y) is old pixel (x - dx, y + dy) inside this block; the rest is cleared.
    // Old row 0 and old column 0 are never kept, so Pan(0, 0) recomputes the top row and the
    // left column.
    const int64_t rowFirst = std::clamp<int64_t>(dy <= 0 ? 1 - int64_t{dy} : 0, 0, h);
    const int64_t rowEnd = std::clamp<int64_t>(std::min(h, h - dy), 0, h);
    const int64_t colFirst = std::clamp<int64_t>(dx >= 0 ? int64_t{dx} + 1 : 0, 0, w);
    const int64_t colEnd = std::clamp<int64_t>(std::min(w, w + dx), 0, w);
    const bool copies = rowFirst < rowEnd && colFirst < colEnd;
    const int64_t offset = int64_t{dy} * (w + 2) - dx;
    if (copies && offset != 0) {
        // In the order that reads every source before it is overwritten.
        auto copyRow = [&](int64_t y) {
            if (offset > 0) {
                for (int64_t x = colFirst; x < colEnd; ++x) {
                    Store(Index(x, y), Load(Index(x, y) + offset));
                }
            } else {
                for (int64_t x = colEnd - 1; x >= colFirst; --x) {
                    Store(Index(x, y), Load(Index(x, y) + offset));
                }
            }
        };
        if (offset > 0) {
            for (int64_t y = rowFirst; y < rowEnd; ++y) {
                copyRow(y);
            }
        } else {
            for (int64_t y = rowEnd - 1; y >= rowFirst; --y) {
                copyRow(y);
            }
        }
    }
    for (int64_t y = 0; y < h; ++y) {
        const auto row = static_cast<int32_t>(y);
        if (!copies || y < rowFirst || y >= rowEnd) {
            ClearPixels(row, 0, width_);
        } else {
            ClearPixels(row, 0, static_cast<int32_t>(colFirst));
            ClearPixels(row, static_cast<int32_t>(colEnd), width_);
        }
    }
    view_.left -= dx * view_.step;
    view_.top -= dy * view_.step;
    // The scan starts at the side where the new pixels are.
    StartFill(int64_t{dx} - dy <= 0);
}

void ViewSlot::ZoomBlock(int32_t n) {
    if (!buffer_ || n <= 1) {
        return;
    }
    std::vector<int32_t> next;
    try {
        next.resize(static_cast<size_t>(width_) * height_);
    } catch (const std::bad_alloc&) {
        return;
    }
    EndWorker();
    const int32_t f = width_ / n;
    const int32_t g = height_ / n;
    // Every n-th row and column is cleared; the others take, in order, the old block that
    // starts at (f div 2, g div 2), the nearest old pixels of the zoomed view.
    for (int32_t y = 0; y < height_; ++y) {
        const bool clearedRow = y % n == n - 1;
        const int32_t oldY = g / 2 + y - y / n;
        for (int32_t x = 0; x < width_; ++x) {
            const bool cleared = clearedRow || x % n == n - 1;
            next[static_cast<size_t>(y) * width_ + x] =
                cleared ? 0 : Load(Index(f / 2 + x - x / n, oldY));
        }
    }
    view_.left += (f / 2) * view_.step;
    view_.top -= (g / 2) * view_.step;
    view_.step = view_.step * (n - 1.0) / n;
    // Where a cleared row meets a cleared column there is no old pixel near: computed now.
    for (int32_t y = n - 1; y < height_; y += n) {
        for (int32_t x = n - 1; x < width_; x += n) {
            next[static_cast<size_t>(y) * width_ + x] = view_.ValueAt(x, y);
        }
    }
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            Store(Index(x, y), next[static_cast<size_t>(y) * width_ + x]);
        }
    }
    StartFill(false);
}

void ViewSlot::ZoomOutBlock(int32_t n) {
    if (!buffer_ || n <= 1) {
        return;
    }
    std::vector<int32_t> next;
    try {
        next.assign(static_cast<size_t>(width_) * height_, 0);
    } catch (const std::bad_alloc&) {
        return;
    }
    EndWorker();
    const int32_t g = width_ / n;
    const int32_t r = (height_ / n) / 2;
    // Every n-th old row and column is dropped; the rest is packed into a centred block.
    for (int32_t y = 0; y < height_; ++y) {
        if (y % n == n - 1) {
            continue;
        }
        const int32_t newY = r + y - y / n;
        for (int32_t x = 0; x < width_; ++x) {
            if (x % n != n - 1) {
                next[static_cast<size_t>(newY) * width_ + g / 2 + x - x / n] = Load(Index(x, y));
            }
        }
    }
    view_.step = view_.step * n / (n - 1.0);
    view_.left -= (g / 2) * view_.step;
    view_.top += r * view_.step;
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            Store(Index(x, y), next[static_cast<size_t>(y) * width_ + x]);
        }
    }
    StartFill(false);
}

void ViewSlot::ZoomCorner(double step) {
    // Only a larger pixel size keeps old pixels: each new one takes an old one at or after it.
    if (!buffer_ || !(view_.step > 0) || !std::isfinite(step) || !(step >= view_.step)) {
        return;
    }
    EndWorker();
    const double q = step / view_.step;
    const auto rows = static_cast<int32_t>(std::min<double>(height_, std::trunc(height_ / q)));
    const auto cols = static_cast<int32_t>(std::min<double>(width_, std::trunc(width_ / q)));
    for (int32_t y = 0; y < rows; ++y) {
        const auto oldY = std::min(static_cast<int64_t>(q * y), int64_t{height_} - 1);
        for (int32_t x = 0; x < cols; ++x) {
            const auto oldX = std::min(static_cast<int64_t>(q * x), int64_t{width_} - 1);
            Store(Index(x, y), Load(Index(oldX, oldY)));
        }
        ClearPixels(y, cols, width_);
    }
    for (int32_t y = rows; y < height_; ++y) {
        ClearPixels(y, 0, width_);
    }
    view_.step = step;
    StartFill(false);
}

void ViewSlot::Resample(int32_t width, int32_t height) {
    if (!buffer_) {
        return;
    }
    auto buffer = Allocate(width, height);
    if (!buffer) {
        return;
    }
    EndWorker();
    const std::unique_lock picture(pictureLock_);
    view_.step *=
        std::max(static_cast<double>(width_) / width, static_cast<double>(height_) / height);
    width_ = width;
    height_ = height;
    buffer_ = std::move(buffer);
}

int32_t ViewSlot::Buf2Surface(void* bits, int32_t pitch) const {
    const std::shared_lock picture(pictureLock_);
    if (!buffer_ || !format_ || !bits) {
        return 0;
    }
    const bool newton = view_.kind == FractalKind::Newton;
    const int32_t maxIts = view_.maxIts;
    // The colours of every value a fill of this view gives, worked out once per call.
    std::vector<uint32_t> table;
    constexpr int32_t kMaxTable = 1 << 16;
    if (maxIts < kMaxTable) {
        table.resize(static_cast<size_t>(std::max(maxIts + 2, 4)));
        for (size_t v = 0; v < table.size(); ++v) {
            table[v] = format_->PixelColor(static_cast<int32_t>(v), maxIts, colorCycles_, newton);
        }
    }
    auto* out = static_cast<unsigned char*>(bits);
    const PixelFormat& format = *format_;
    switch (format.BytesPerPixel()) {
    case 1:
        WritePixels<1>(buffer_.get(), width_, height_, out, pitch, table, format, maxIts,
                       colorCycles_, newton);
        break;
    case 2:
        WritePixels<2>(buffer_.get(), width_, height_, out, pitch, table, format, maxIts,
                       colorCycles_, newton);
        break;
    case 3:
        WritePixels<3>(buffer_.get(), width_, height_, out, pitch, table, format, maxIts,
                       colorCycles_, newton);
        break;
    default:
        WritePixels<4>(buffer_.get(), width_, height_, out, pitch, table, format, maxIts,
                       colorCycles_, newton);
        break;
    }
    return 0;
}

} // namespace fractalux
