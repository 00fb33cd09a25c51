#include "FractalView.h"

#include <algorithm>

namespace fractalux {

namespace {

constexpr int32_t kBlock = 8;
// Iterations between two looks at whether the fill has been ended.
constexpr int32_t kCheckEvery = 4096;

// Counts iterations down to the next look at the fill's control.
class StopCheck {
public:
    StopCheck(const FillControl* fill, int32_t every) : fill_(fill), every_(every), left_(every) {}

    bool Ended() {
        if (--left_ > 0) {
            return false;
        }
        left_ = every_;
        return fill_ && fill_->Ended();
    }

private:
    const FillControl* fill_;
    int32_t every_;
    int32_t left_;
};

int32_t EscapeTime(double zr, double zi, double cr, double ci, int32_t maxIts,
                   const FillControl* fill) {
    // Blocks of eight steps tested only at their start while more than eight remain. A test
    // that is not passed (escaped, or overflowed to NaN) and the last few steps go back to the
    // first iterate of the last block, which is known not to have escaped.
    double blockRe = zr;
    double blockIm = zi;
    int32_t blockStart = 0;
    StopCheck blocks(fill, kCheckEvery / kBlock);
    for (int32_t j = 0; maxIts - j > kBlock; j += kBlock) {
        if (!(zr * zr + zi * zi < 4.0)) {
            break;
        }
        if (blocks.Ended()) {
            return 0;
        }
        blockRe = zr;
        blockIm = zi;
        blockStart = j;
        for (int32_t k = 0; k < kBlock; ++k) {
            const double re = zr * zr - zi * zi + cr;
            zi = 2.0 * zr * zi + ci;
            zr = re;
        }
    }
    zr = blockRe;
    zi = blockIm;
    // A NaN point never passes the test and steps on to the cap one at a time.
    StopCheck steps(fill, kCheckEvery);
    for (int32_t j = blockStart; j < maxIts; ++j) {
        if (zr * zr + zi * zi >= 4.0) {
            return maxIts + 1 - j;
        }
        if (steps.Ended()) {
            return 0;
        }
        const double re = zr * zr - zi * zi + cr;
        zi = 2.0 * zr * zi + ci;
        zr = re;
    }
    return 1;
}

} // namespace

int32_t IterateMandelbrot(double re, double im, int32_t maxIts, const FillControl* fill) {
    return EscapeTime(re, im, re, im, maxIts, fill);
}

int32_t IterateJulia(double re, double im, double cRe, double cIm, int32_t maxIts,
                     const FillControl* fill) {
    return EscapeTime(re, im, cRe, cIm, maxIts, fill);
}

int32_t IterateNewton(double re, double im, int32_t maxIts, const FillControl* fill) {
    constexpr double kRootIm = 0.8660254037844386;
    StopCheck steps(fill, kCheckEvery);
    for (int32_t i = 0; i < maxIts; ++i) {
        if (steps.Ended()) {
            return 0;
        }
        // z := 2z/3 + 1/(3z^2), with 1/z^2 = conj(z^2) / |z^2|^2.
        const double sqRe = re * re - im * im;
        const double sqIm = 2.0 * re * im;
        const double norm = sqRe * sqRe + sqIm * sqIm;
        if (norm == 0.0) {
            return 1;
        }
        const double scale = 1.0 / (3.0 * norm);
        re = 2.0 * re / 3.0 + sqRe * scale;
        im = 2.0 * im / 3.0 - sqIm * scale;
    }
    const double d1 = (re - 1.0) * (re - 1.0) + im * im;
    const double d2 = (re + 0.5) * (re + 0.5) + (im + kRootIm) * (im + kRootIm);
    const double d3 = (re + 0.5) * (re + 0.5) + (im - kRootIm) * (im - kRootIm);
    if (d1 < d3 && d1 < d2) {
        return 1;
    }
    if (d3 <= d1 && d3 < d2) {
        return 3;
    }
    return 2;
}

int32_t FractalView::ValueAt(int32_t x, int32_t y, const FillControl* fill) const {
    const double re = left + x * step;
    const double im = top - y * step;
    switch (kind) {
    case FractalKind::Julia:
        return IterateJulia(re, im, juliaRe, juliaIm, maxIts, fill);
    case FractalKind::Newton:
        return IterateNewton(re, im, maxIts, fill);
    case FractalKind::Mandelbrot:
        break;
    }
    return IterateMandelbrot(re, im, maxIts, fill);
}

int32_t FractalView::BorderValue() const {
    // The escape-time values run 1..maxIts + 1, the roots 1..3.
    const int32_t border = std::max(maxIts, 0) + 2;
    return kind == FractalKind::Newton ? std::max(border, 4) : border;
}

} // namespace fractalux
