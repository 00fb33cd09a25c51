#pragma once

// What the tests share: the library bound by name as its client binds it, reading pixel values
// back through Buf2Surface, every pixel computed one by one, and the tracing fill on known values.

#include "Fractalux.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <thread>
#include <vector>

namespace fractalux_test {

// The seventeen entries with the names the platform's compiler gives them.
#define FRACTALUX_ENTRIES(X)                                                                       \
    X(SetCurrent, "_Z10SetCurrenti")                                                               \
    X(Initialize, "_Z10Initializeiii")                                                             \
    X(SetParams, "_Z9SetParamsdddi")                                                               \
    X(GetParams, "_Z9GetParamsPdS_S_Pi")                                                           \
    X(SetFractal, "_Z10SetFractalidd")                                                             \
    X(SetCallbacks, "_Z12SetCallbacksPFvvEPFvdE")                                                  \
    X(SetColorOrder, "_Z13SetColorOrderiii")                                                       \
    X(SetColorCycles, "_Z14SetColorCyclesi")                                                       \
    X(FillBuffer, "_Z10FillBufferv")                                                               \
    X(FillBufferSync, "_Z14FillBufferSyncv")                                                       \
    X(ChangeIts, "_Z9ChangeItsi")                                                                  \
    X(Pan, "_Z3Panii")                                                                             \
    X(ZoomBlock, "_Z9ZoomBlocki")                                                                  \
    X(ZoomOutBlock, "_Z12ZoomOutBlocki")                                                           \
    X(ZoomCorner, "_Z10ZoomCornerd")                                                               \
    X(Resample, "_Z8Resampleii")                                                                   \
    X(Buf2Surface, "_Z11Buf2SurfacePvi")

struct Client {
    void* handle = nullptr;
#define FRACTALUX_DECLARE(name, mangled) decltype(&::name) name = nullptr;
    FRACTALUX_ENTRIES(FRACTALUX_DECLARE)
#undef FRACTALUX_DECLARE

    // Loads the library and binds every entry by name; false (with a failure) otherwise.
    bool Load() {
        handle = ::dlopen(FRACTALUX_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            ADD_FAILURE() << ::dlerror();
            return false;
        }
        bool bound = true;
#define FRACTALUX_BIND(name, mangled)                                                              \
    name = reinterpret_cast<decltype(name)>(::dlsym(handle, mangled));                             \
    if (!name) {                                                                                   \
        ADD_FAILURE() << "missing entry " << mangled;                                              \
        bound = false;                                                                             \
    }
        FRACTALUX_ENTRIES(FRACTALUX_BIND)
#undef FRACTALUX_BIND
        return bound;
    }

    void Unload() {
        if (handle) {
            ::dlclose(handle);
            handle = nullptr;
        }
    }
};

// A view of the plane; left, top and step are chosen exactly representable so that moved views
// land on the same complex numbers.
struct View {
    int32_t kind;
    double left;
    double top;
    double step;
    int32_t maxIts;
    int32_t width;
    int32_t height;
    double re = 0;
    double im = 0;
};

// The colour of value v as the texts define it, on a layout with channel bits and shifts.
inline uint32_t ExpectedColor(int32_t v, int32_t maxIts, int32_t cycles, bool newton, int bits,
                              int s1, int s2, int s3) {
    const int64_t d = int64_t{1} << bits;
    auto word = [&](int64_t a, int64_t b, int64_t c) {
        return static_cast<uint32_t>(a << s1 | b << s2 | c << s3);
    };
    if (newton && v >= 1 && v <= 3) {
        return word(v == 1 ? d - 1 : 0, v == 2 ? d - 1 : 0, v == 3 ? d - 1 : 0);
    }
    if (v <= 1) {
        return 0;
    }
    const auto p =
        static_cast<int64_t>(std::trunc(double(d) * cycles * 3 / maxIts * (v - 1))) % (3 * d);
    if (p < d) {
        return word(d - 1 - p, 0, p);
    }
    if (p < 2 * d) {
        return word(0, p - d, 2 * d - 1 - p);
    }
    return word(p - 2 * d, 3 * d - 1 - p, 0);
}

// Selects the view on the current slot in format 21 with one colour cycle, where each value of
// a cap up to 384 has its own colour.
inline void Show(const Client& c, const View& v) {
    ASSERT_EQ(c.Initialize(v.width, v.height, 21), 0);
    c.SetParams(v.top, v.left, v.step, v.maxIts);
    c.SetFractal(v.kind, v.re, v.im);
    c.SetColorCycles(1);
}

// The pixel values of the current slot (format 21, one colour cycle, default order), read back
// from its colours; 0 and 1 both read as 1, and an unknown colour as -1.
inline std::vector<int32_t> Values(const Client& c, int32_t width, int32_t height, int32_t maxIts,
                                   bool newton) {
    std::map<uint32_t, int32_t> byColor;
    for (int32_t v = 1; v <= (newton ? 3 : maxIts + 1); ++v) {
        byColor.emplace(ExpectedColor(v, maxIts, 1, newton, 8, 16, 8, 0), v);
    }
    std::vector<uint32_t> bits(static_cast<size_t>(width) * height);
    c.Buf2Surface(bits.data(), width * 4);
    std::vector<int32_t> values;
    for (uint32_t word : bits) {
        const auto it = byColor.find(word);
        values.push_back(it == byColor.end() ? -1 : it->second);
    }
    return values;
}

// Every pixel of a view computed on its own: each row as an image one pixel high, which the
// scan computes pixel by pixel.
inline std::vector<int32_t> EveryPixel(const Client& c, View v) {
    std::vector<int32_t> all;
    const double top = v.top;
    const int32_t height = v.height;
    v.height = 1;
    for (int32_t y = 0; y < height; ++y) {
        v.top = top - y * v.step;
        Show(c, v);
        c.FillBufferSync();
        const auto row = Values(c, v.width, 1, v.maxIts, v.kind == 3);
        all.insert(all.end(), row.begin(), row.end());
    }
    return all;
}

// The tracing fill as the texts give it, on a buffer of (width + 2) x (height + 2) values with
// its border set, looking the true values up instead of computing them.
inline void TracingFill(std::vector<int32_t>& buf, int32_t w, int32_t h,
                        const std::vector<int32_t>& truth, int32_t maxIts, bool reverse) {
    const int dx[4] = {1, 0, -1, 0};
    const int dy[4] = {0, 1, 0, -1};
    auto at = [&](int x, int y) -> int32_t& { return buf[(y + 1) * (w + 2) + x + 1]; };
    auto get = [&](int x, int y) {
        if (at(x, y) == 0) {
            at(x, y) = truth[y * w + x];
        }
        return at(x, y);
    };
    auto walk = [&](int sx, int sy, int m, bool compute, auto&& afterMove) {
        int x = sx, y = sy, o = reverse ? 2 : 0;
        do {
            int d = 0, k = 0;
            for (; k < 4; ++k) {
                d = (o + 3 + k) % 4;
                const int v = compute ? get(x + dx[d], y + dy[d]) : at(x + dx[d], y + dy[d]);
                if (v == m) {
                    break;
                }
            }
            if (k == 4) {
                return;
            }
            x += dx[d];
            y += dy[d];
            o = d;
            afterMove(x, y, o);
        } while (x != sx || y != sy);
    };
    for (int r = 0; r < h; ++r) {
        const int y = reverse ? h - 1 - r : r;
        for (int col = 0; col < w; ++col) {
            const int x = reverse ? w - 1 - col : col;
            if (at(x, y) != 0) {
                continue;
            }
            const int m = get(x, y);
            walk(x, y, m, true, [](int, int, int) {});
            if (m < maxIts - 10) {
                walk(x, y, m, false, [&](int qx, int qy, int o) {
                    if (reverse || o == 1 || o == 2) {
                        const int step = reverse ? 1 : -1;
                        for (int i = qx + step; at(i, qy) == 0; i += step) {
                            at(i, qy) = m;
                        }
                    }
                });
            }
        }
    }
}

// A buffer with its border, holding the given pixel values (0 = not yet computed).
inline std::vector<int32_t> Framed(const std::vector<int32_t>& pixels, int32_t w, int32_t h,
                                   int32_t border) {
    std::vector<int32_t> buf(static_cast<size_t>(w + 2) * (h + 2), border);
    for (int32_t y = 0; y < h; ++y) {
        std::memcpy(&buf[(y + 1) * (w + 2) + 1], &pixels[y * w], sizeof(int32_t) * w);
    }
    return buf;
}

inline std::vector<int32_t> Unframed(const std::vector<int32_t>& buf, int32_t w, int32_t h) {
    std::vector<int32_t> pixels;
    for (int32_t y = 0; y < h; ++y) {
        pixels.insert(pixels.end(), buf.begin() + (y + 1) * (w + 2) + 1,
                      buf.begin() + (y + 1) * (w + 2) + 1 + w);
    }
    return pixels;
}

// Waits up to twenty seconds for a condition that another thread makes true.
inline bool WaitFor(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Every test starts on a freshly loaded library and unloads it at the end.
class Fixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.Load()); }
    void TearDown() override { lib.Unload(); }
    Client lib;
};

} // namespace fractalux_test
