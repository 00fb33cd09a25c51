#pragma once

#include "FillControl.h"

#include <cstdint>

namespace fractalux {

enum class FractalKind : int32_t { Mandelbrot = 1, Julia = 2, Newton = 3 };

// Every function below gives 0 (not computed) when the fill of the control it is given has been
// ended; it checks that every few thousand iterations, so that a fill at any cap ends at once.

// Escape-time values: maxIts + 1 - j for the first iterate j (0..maxIts - 1) with |z(j)|^2 >= 4,
// 1 when none escapes (so always 1 for a cap below 1). IterateMandelbrot starts at z = c = the
// point; IterateJulia starts at the point with the constant c.
int32_t IterateMandelbrot(double re, double im, int32_t maxIts, const FillControl* fill = nullptr);
int32_t IterateJulia(double re, double im, double cRe, double cIm, int32_t maxIts,
                     const FillControl* fill = nullptr);

// The root of z^3 = 1 that maxIts Newton steps from the point come nearest: 1 for 1, 2 for
// -1/2 - i*sqrt(3)/2, 3 for -1/2 + i*sqrt(3)/2. A point whose iteration reaches 0 gives 1.
int32_t IterateNewton(double re, double im, int32_t maxIts, const FillControl* fill = nullptr);

// What a pixel's value depends on: the plane window, the cap and the fractal function.
// Pixel (x, y) stands for left + x*step + i*(top - y*step).
struct FractalView {
    double left = 0;
    double top = 0;
    double step = 0;
    int32_t maxIts = 0;
    FractalKind kind = FractalKind::Mandelbrot;
    double juliaRe = 0;
    double juliaIm = 0;

    int32_t ValueAt(int32_t x, int32_t y, const FillControl* fill = nullptr) const;
    // A value no fractal function gives under this view, and never 0.
    int32_t BorderValue() const;
};

} // namespace fractalux
