// Fractalux: the boundary-tracing fill of the whole Mandelbrot set against computing every pixel
// one by one; a pan by 10 pixels and ZoomBlock(8) against a full refill; Buf2Surface in
// megapixels per second for a 4-byte and a 2-byte format; the time a call takes to end a fill
// whose worker is inside a pixel at the largest cap.
//
// View: left -2.5, top 1.25, 1024 x 768 pixels, cap 1000, pixel size 3.5 / 1024 so that the
// whole rectangle [-2.5, 1] x [-1.25, 1.25] is inside the image (the pixel size Resample keeps).
// The fills in the reuse benchmarks are the library's asynchronous ones, waited for through the
// done callback.

#include "BenchMain.h"
#include "BoundaryFill.h"
#include "FillControl.h"
#include "FractalView.h"
#include "ViewSlot.h"

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using fractalux::BoundaryFill;
using fractalux::FillControl;
using fractalux::FractalKind;
using fractalux::FractalView;
using fractalux::ViewSlot;

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;
constexpr int64_t kPixels = int64_t{kWidth} * kHeight;
const FractalView kView{-2.5, 1.25, 3.5 / 1024, 1000, FractalKind::Mandelbrot, 0, 0};

// A bordered buffer as a fill starts on it: pixels 0, border cells beyond every value.
void Reset(std::vector<std::atomic<int32_t>>& buffer) {
    const int32_t border = kView.BorderValue();
    for (int32_t y = 0; y < kHeight + 2; ++y) {
        for (int32_t x = 0; x < kWidth + 2; ++x) {
            const bool edge = x == 0 || y == 0 || x == kWidth + 1 || y == kHeight + 1;
            buffer[y * (kWidth + 2) + x].store(edge ? border : 0, std::memory_order_relaxed);
        }
    }
}

void TracedFill(benchmark::State& state) {
    std::vector<std::atomic<int32_t>> buffer(static_cast<size_t>(kWidth + 2) * (kHeight + 2));
    FillControl control;
    int64_t computed = 0;
    for (auto _ : state) {
        Reset(buffer);
        BoundaryFill fill(kView, buffer.data(), kWidth, kHeight, control, nullptr);
        fill.FillWorker();
        computed = fill.ComputedCount();
    }
    int64_t differing = 0;
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            differing += buffer[(y + 1) * (kWidth + 2) + x + 1].load() != kView.ValueAt(x, y);
        }
    }
    state.counters["computed_share"] = static_cast<double>(computed) / kPixels;
    state.counters["pixels_unlike_every_pixel"] = static_cast<double>(differing);
}

void EveryPixel(benchmark::State& state) {
    std::vector<int32_t> values(kPixels);
    for (auto _ : state) {
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                values[y * kWidth + x] = kView.ValueAt(x, y);
            }
        }
        benchmark::DoNotOptimize(values.data());
    }
}

std::atomic<int> gDone{0};

void NotifyDone() {
    gDone.fetch_add(1, std::memory_order_release);
    gDone.notify_all();
}

// Runs an operation that starts an asynchronous fill and waits for that fill's end.
template <typename Operation> void AndWait(Operation operation) {
    const int before = gDone.load(std::memory_order_acquire);
    operation();
    for (int now = before; now == before; now = gDone.load(std::memory_order_acquire)) {
        gDone.wait(now, std::memory_order_acquire);
    }
}

void Prepare(ViewSlot& slot, const FractalView& view, int32_t format = 21) {
    if (slot.Initialize(kWidth, kHeight, format) != 0) {
        std::abort();
    }
    slot.SetParams(view.top, view.left, view.step, view.maxIts);
    slot.SetFractal(1, 0, 0);
    slot.SetCallbacks(NotifyDone, nullptr);
    slot.FillBufferSync();
}

void FullRefill(benchmark::State& state) {
    ViewSlot slot;
    Prepare(slot, kView);
    for (auto _ : state) {
        AndWait([&] { slot.FillBuffer(); });
    }
}

// Alternately 10 pixels right and back, each time on a completed image.
void Pan10(benchmark::State& state) {
    ViewSlot slot;
    Prepare(slot, kView);
    int32_t dx = 10;
    for (auto _ : state) {
        AndWait([&] { slot.Pan(dx, 0); });
        dx = -dx;
    }
}

FractalView ZoomedView() {
    ViewSlot slot;
    Prepare(slot, kView);
    slot.ZoomBlock(8);
    return slot.View();
}

void ZoomBlock8(benchmark::State& state) {
    ViewSlot slot;
    for (auto _ : state) {
        state.PauseTiming();
        Prepare(slot, kView);
        state.ResumeTiming();
        AndWait([&] { slot.ZoomBlock(8); });
    }
}

void ZoomedRefill(benchmark::State& state) {
    ViewSlot slot;
    Prepare(slot, ZoomedView());
    for (auto _ : state) {
        AndWait([&] { slot.FillBuffer(); });
    }
}

void Surface(benchmark::State& state, int32_t format, int32_t bytes) {
    ViewSlot slot;
    Prepare(slot, kView, format);
    slot.SetColorCycles(3);
    std::vector<unsigned char> bits(static_cast<size_t>(kPixels) * bytes);
    for (auto _ : state) {
        slot.Buf2Surface(bits.data(), kWidth * bytes);
        benchmark::DoNotOptimize(bits.data());
    }
    state.counters["Mpixel_per_s"] = benchmark::Counter(
        static_cast<double>(kPixels) * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

std::atomic<int> gRows{0};

void NotifyRow(double) {
    gRows.fetch_add(1, std::memory_order_release);
    gRows.notify_all();
}

// One pixel inside the set at the largest cap: billions of iterations. Each round starts a fill,
// waits until its worker is at work on the pixel, and times the call that ends it (Resample ends
// the fill and starts none).
void EndFillAtLargestCap(benchmark::State& state) {
    ViewSlot slot;
    if (slot.Initialize(1, 1, 21) != 0) {
        std::abort();
    }
    slot.SetParams(0, 0, 1, INT32_MAX);
    slot.SetFractal(1, 0, 0);
    slot.SetCallbacks(nullptr, NotifyRow);
    for (auto _ : state) {
        const int before = gRows.load(std::memory_order_acquire);
        slot.FillBuffer();
        for (int now = before; now == before; now = gRows.load(std::memory_order_acquire)) {
            gRows.wait(now, std::memory_order_acquire);
        }
        const auto start = std::chrono::steady_clock::now();
        slot.Resample(1, 1);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("Fill/EveryPixel", EveryPixel)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Fill/Traced", TracedFill)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Reuse/FullRefill", FullRefill)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Reuse/Pan10", Pan10)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Reuse/ZoomedRefill", ZoomedRefill)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Reuse/ZoomBlock8", ZoomBlock8)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Buf2Surface/A8R8G8B8", Surface, 21, 4)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Buf2Surface/R5G6B5", Surface, 23, 2)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Stop/EndFillAtLargestCap", EndFillAtLargestCap)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(200);
    bench::BestTimes times;
    if (bench::Run(argc, argv, &times) != 0) {
        return 1;
    }
    const char* const ratios[][3] = {
        {"Every pixel / traced fill", "Fill/EveryPixel", "Fill/Traced"},
        {"Full refill / pan by 10 pixels", "Reuse/FullRefill", "Reuse/Pan10"},
        {"Full refill / ZoomBlock(8)", "Reuse/ZoomedRefill", "Reuse/ZoomBlock8/real_time"}};
    for (const auto& [what, slow, fast] : ratios) {
        if (const auto ratio = times.Ratio(slow, fast)) {
            std::printf("%s: time ratio %.2f\n", what, *ratio);
        }
    }
    return 0;
}
