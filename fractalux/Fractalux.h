#pragma once

// The interface of libFractalux.so: two independent fractal views (slots), each with its own
// size, pixel format, plane window, fractal, colouring and fill worker. Every call acts on the
// current slot. A client binds these functions by their compiled names.
//
// Calling order: SetCurrent, Initialize, SetParams, SetFractal, SetCallbacks, SetColorOrder and
// SetColorCycles, then FillBuffer, then Buf2Surface on progress or completion; later Pan, the
// zooms, ChangeIts or Resample followed by FillBuffer. Unloading the library ends both fills
// and frees everything.

#include <cstdint>

#if defined(FRACTALUX_BUILD)
#define FRACTALUX_API __attribute__((visibility("default")))
#else
#define FRACTALUX_API
#endif

// Called on a fill's worker thread: at the start of each row with the share of rows done, and
// once when an asynchronous fill has finished. A fill calls the callbacks set at the time of each
// call. A call that ends a fill (a new start, Initialize, Resample, FillBufferSync) does not wait
// for a callback of it still running; from then on the ended fill stores nothing and calls no
// callback. Unloading waits for every fill's thread, callbacks included, after ending it.
using FillProgressCallback = void (*)(double fraction);
using FillDoneCallback = void (*)();

// Slot 0 or 1; values below and above are clamped.
FRACTALUX_API void SetCurrent(int32_t slot);
// Size in pixels and a Direct3D pixel-format code (20-27, 29, 30). 0, or -1 when the format or
// the size is refused, the slot then unchanged.
FRACTALUX_API int32_t Initialize(int32_t width, int32_t height, int32_t format);
// A cap above INT32_MAX - 2 is stored as INT32_MAX - 2; a cap below 1 is kept as given, and no
// point escapes under it.
FRACTALUX_API void SetParams(double top, double left, double step, int32_t maxIts);
FRACTALUX_API void GetParams(double* top, double* left, double* step, int32_t* maxIts);
// Kind 1 Mandelbrot set, 2 Julia set of (re, im), 3 Newton basins of z^3 = 1.
FRACTALUX_API void SetFractal(int32_t kind, double re, double im);
FRACTALUX_API void SetCallbacks(FillDoneCallback done, FillProgressCallback progress);
FRACTALUX_API void SetColorOrder(int32_t a, int32_t b, int32_t c);
FRACTALUX_API void SetColorCycles(int32_t n);
FRACTALUX_API void FillBuffer();
FRACTALUX_API void FillBufferSync();
FRACTALUX_API void ChangeIts(int32_t maxIts);
FRACTALUX_API void Pan(int32_t dx, int32_t dy);
FRACTALUX_API void ZoomBlock(int32_t n);
FRACTALUX_API void ZoomOutBlock(int32_t n);
FRACTALUX_API void ZoomCorner(double step);
FRACTALUX_API void Resample(int32_t width, int32_t height);
// Writes every pixel at bits + y * pitch + x * bytes per pixel, little-endian. Returns 0.
FRACTALUX_API int32_t Buf2Surface(void* bits, int32_t pitch);
