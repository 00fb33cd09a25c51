// The library's exports: each acts on the current one of the two view slots.

#include "Fractalux.h"

#include "ViewSlot.h"

#include <algorithm>
#include <atomic>

namespace {

// Destroyed when the library is unloaded: each slot ends and joins its worker, then frees its
// buffer.
fractalux::ViewSlot gSlots[2];
std::atomic<int32_t> gCurrent{0};

fractalux::ViewSlot& Current() {
    return gSlots[gCurrent.load(std::memory_order_relaxed)];
}

} // namespace

void SetCurrent(int32_t slot) {
    gCurrent.store(std::clamp(slot, 0, 1), std::memory_order_relaxed);
}

int32_t Initialize(int32_t width, int32_t height, int32_t format) {
    return Current().Initialize(width, height, format);
}

void SetParams(double top, double left, double step, int32_t maxIts) {
    Current().SetParams(top, left, step, maxIts);
}

void GetParams(double* top, double* left, double* step, int32_t* maxIts) {
    Current().GetParams(top, left, step, maxIts);
}

void SetFractal(int32_t kind, double re, double im) {
    Current().SetFractal(kind, re, im);
}

void SetCallbacks(FillDoneCallback done, FillProgressCallback progress) {
    Current().SetCallbacks(done, progress);
}

void SetColorOrder(int32_t a, int32_t b, int32_t c) {
    Current().SetColorOrder(a, b, c);
}

void SetColorCycles(int32_t n) {
    Current().SetColorCycles(n);
}

void FillBuffer() {
    Current().FillBuffer();
}

void FillBufferSync() {
    Current().FillBufferSync();
}

void ChangeIts(int32_t maxIts) {
    Current().ChangeIts(maxIts);
}

void Pan(int32_t dx, int32_t dy) {
    Current().Pan(dx, dy);
}

void ZoomBlock(int32_t n) {
    Current().ZoomBlock(n);
}

void ZoomOutBlock(int32_t n) {
    Current().ZoomOutBlock(n);
}

void ZoomCorner(double step) {
    Current().ZoomCorner(step);
}

void Resample(int32_t width, int32_t height) {
    Current().Resample(width, height);
}

int32_t Buf2Surface(void* bits, int32_t pitch) {
    return Current().Buf2Surface(bits, pitch);
}
