#include "FractaluxClient.h"

#include <atomic>
#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <set>
#include <string>

using namespace fractalux_test;

namespace {

constexpr int32_t kMandelbrot = 1;
constexpr int32_t kJulia = 2;
constexpr int32_t kNewton = 3;

// The whole Mandelbrot set at a cap whose slow regions are all simple.
const View kWholeSet{kMandelbrot, -2.5, 1.25, 1.0 / 32, 20, 128, 80};

std::atomic<int> gDone{0};
std::vector<double> gProgress; // written by the worker only, read after its done callback

void CountDone() {
    gDone.fetch_add(1, std::memory_order_release);
}
void RecordProgress(double fraction) {
    gProgress.push_back(fraction);
}

// Runs one asynchronous fill to its end.
void FillAndWait(const Client& c) {
    const int before = gDone.load(std::memory_order_acquire);
    c.SetCallbacks(CountDone, RecordProgress);
    gProgress.clear();
    c.FillBuffer();
    ASSERT_TRUE(WaitFor([&] { return gDone.load(std::memory_order_acquire) > before; }));
}

struct Params {
    double top, left, step;
    int32_t maxIts;
};

Params Get(const Client& c) {
    Params p{};
    c.GetParams(&p.top, &p.left, &p.step, &p.maxIts);
    return p;
}

std::vector<uint8_t> Surface(const Client& c, int32_t pitch, int32_t height) {
    std::vector<uint8_t> bits(static_cast<size_t>(pitch) * height, 0xAB);
    EXPECT_EQ(c.Buf2Surface(bits.data(), pitch), 0);
    return bits;
}

using FractaluxInterface = Fixture;
using FractaluxColours = Fixture;
using FractaluxValues = Fixture;
using FractaluxFill = Fixture;
using FractaluxReuse = Fixture;

TEST(FractaluxExports, ExactlyTheSeventeenEntriesAreExported) {
    FILE* nm = ::popen("nm -D --defined-only " FRACTALUX_PATH, "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> names;
    char line[512];
    char name[400];
    while (std::fgets(line, sizeof line, nm)) {
        if (std::sscanf(line, "%*s %*s %399s", name) == 1) {
            names.insert(name);
        }
    }
    ASSERT_EQ(::pclose(nm), 0);
#define FRACTALUX_NAME(entry, mangled) mangled,
    EXPECT_EQ(names, (std::set<std::string>{FRACTALUX_ENTRIES(FRACTALUX_NAME)}));
#undef FRACTALUX_NAME
}

TEST_F(FractaluxInterface, SetCurrentClampsAndSlotsAreIndependent) {
    lib.SetCurrent(5);
    lib.SetParams(1.5, -2.0, 0.25, 77);
    lib.SetCurrent(-3);
    lib.SetParams(0.5, -1.0, 0.125, 33);
    lib.SetCurrent(1);
    const Params one = Get(lib);
    EXPECT_EQ(one.top, 1.5);
    EXPECT_EQ(one.left, -2.0);
    EXPECT_EQ(one.step, 0.25);
    EXPECT_EQ(one.maxIts, 77);
    lib.SetCurrent(0);
    EXPECT_EQ(Get(lib).maxIts, 33);
}

TEST_F(FractaluxInterface, RefusedFormatsAndSizesKeepTheSlot) {
    Show(lib, {kMandelbrot, 0, 0, 1, 100, 3, 1});
    lib.FillBufferSync();
    const auto before = Surface(lib, 12, 1);
    const std::set<int32_t> accepted = {20, 21, 22, 23, 24, 25, 26, 27, 29, 30};
    for (int32_t code = -1; code <= 40; ++code) {
        if (!accepted.count(code)) {
            EXPECT_EQ(lib.Initialize(5, 5, code), -1) << code;
        }
    }
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-4, 5}, {5, -4}, {70000, 2}, {40000, 40000}}) {
        EXPECT_EQ(lib.Initialize(w, h, 21), -1) << w << " x " << h;
    }
    EXPECT_EQ(Surface(lib, 12, 1), before);
    for (int32_t code : accepted) {
        EXPECT_EQ(lib.Initialize(2, 2, code), 0) << code;
    }
}

// Pixels 0, 1, 2 of rows 0 and 1 at cap 100 have the values 1, 100, 101 (black, the ramp near
// its end, the ramp's start).
TEST_F(FractaluxColours, EveryFormatWritesItsPixelsAtThePitch) {
    struct Layout {
        int32_t code, bytes, bits, s1, s2, s3;
    };
    const Layout layouts[] = {{20, 3, 8, 16, 8, 0}, {21, 4, 8, 16, 8, 0}, {22, 4, 8, 16, 8, 0},
                              {23, 2, 5, 11, 5, 0}, {24, 2, 5, 10, 5, 0}, {25, 2, 5, 10, 5, 0},
                              {26, 2, 4, 8, 4, 0},  {30, 2, 4, 8, 4, 0},  {27, 1, 2, 5, 2, 0},
                              {29, 2, 2, 5, 2, 0}};
    for (const Layout& f : layouts) {
        ASSERT_EQ(lib.Initialize(3, 2, f.code), 0);
        lib.SetParams(0, 0, 1, 100);
        lib.SetFractal(kMandelbrot, 0, 0);
        lib.SetColorCycles(1);
        lib.FillBufferSync();
        const int32_t pitch = 3 * f.bytes + 3;
        const auto bits = Surface(lib, pitch, 2);
        const int32_t values[3] = {1, 100, 101};
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                const uint32_t want =
                    ExpectedColor(values[x], 100, 1, false, f.bits, f.s1, f.s2, f.s3);
                for (int b = 0; b < f.bytes; ++b) {
                    EXPECT_EQ(bits[y * pitch + x * f.bytes + b], (want >> (8 * b)) & 0xFF)
                        << "format " << f.code << " pixel " << x << "," << y << " byte " << b;
                }
            }
            for (int b = 3 * f.bytes; b < pitch; ++b) {
                EXPECT_EQ(bits[y * pitch + b], 0xAB) << "format " << f.code << " padding";
            }
        }
    }
}

TEST_F(FractaluxColours, RampCyclesAndColourOrder) {
    auto pixel = [&](int32_t format, int32_t cycles, int x) {
        EXPECT_EQ(lib.Initialize(3, 1, format), 0);
        lib.SetParams(0, 0, 1, 100);
        lib.SetFractal(kMandelbrot, 0, 0);
        lib.SetColorCycles(cycles);
        lib.FillBufferSync();
        uint8_t bytes[12] = {};
        lib.Buf2Surface(bytes, sizeof bytes);
        const int size = format == 23 ? 2 : 4;
        uint32_t word = 0;
        std::memcpy(&word, bytes + x * size, size);
        return word;
    };
    // Value 100 with one cycle: p = trunc(768 * 99 / 100) = 760, the last third of the ramp.
    EXPECT_EQ(pixel(21, 1, 1), 248u << 16 | 7u << 8);
    // Without cycles every escaped pixel is the first role at full strength.
    EXPECT_EQ(pixel(21, 0, 1), 255u << 16);
    EXPECT_EQ(pixel(21, 0, 2), 255u << 16);
    EXPECT_EQ(pixel(21, 0, 0), 0u);
    EXPECT_EQ(pixel(23, 1, 2), 31u << 11);
    // Two cycles: p = trunc(1536 * 99 / 100) mod 768 = 752.
    EXPECT_EQ(pixel(21, 2, 1), 240u << 16 | 15u << 8);

    pixel(21, 0, 0);
    lib.SetColorOrder(2, 1, 0);
    uint32_t words[3] = {};
    lib.Buf2Surface(words, sizeof words);
    EXPECT_EQ(words[2], 255u);
    lib.SetColorOrder(0, 1, 2); // back again
    lib.Buf2Surface(words, sizeof words);
    EXPECT_EQ(words[2], 255u << 16);
    lib.SetColorOrder(7, -1, 0); // only the third role moves: to the largest shift
    lib.Buf2Surface(words, sizeof words);
    EXPECT_EQ(words[2], 255u << 16);

    // Newton roots: first, second, third role; the third now shares the largest shift.
    lib.SetFractal(kNewton, 0, 0);
    lib.SetParams(0.0, 1.0, 1.0, 30);
    lib.FillBufferSync();
    lib.Buf2Surface(words, sizeof words);
    EXPECT_EQ(words[0], 255u << 16);
}

TEST_F(FractaluxValues, KnownPoints) {
    Show(lib, {kMandelbrot, 0, 0, 1, 100, 3, 1});
    lib.FillBufferSync();
    EXPECT_EQ(Values(lib, 3, 1, 100, false), (std::vector<int32_t>{1, 100, 101}));

    // Newton: 0 breaks down to 1; 1 and the two other roots.
    const double r = 0.8660254037844386;
    const std::vector<std::pair<double, double>> points = {{0, 0}, {1, 0}, {-0.5, -r}, {-0.5, r}};
    const std::vector<int32_t> roots = {1, 1, 2, 3};
    for (size_t i = 0; i < points.size(); ++i) {
        Show(lib, {kNewton, points[i].first, points[i].second, 1, 25, 1, 1});
        lib.FillBufferSync();
        EXPECT_EQ(Values(lib, 1, 1, 25, true)[0], roots[i]) << i;
    }
}

int32_t SingleSteps(double zr, double zi, double cr, double ci, int32_t maxIts) {
    for (int32_t j = 0; j < maxIts; ++j) {
        if (zr * zr + zi * zi >= 4) {
            return maxIts + 1 - j;
        }
        const double t = zr * zr - zi * zi + cr;
        zi = 2 * zr * zi + ci;
        zr = t;
    }
    return 1;
}

TEST_F(FractaluxValues, EightStepBlocksEqualSingleSteps) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> re(-2.2, 0.8);
    std::uniform_real_distribution<double> im(-1.3, 1.3);
    const double juliaRe = -0.8;
    const double juliaIm = 0.156;
    int mismatches = 0;
    for (int32_t cap = 1; cap <= 40; ++cap) {
        for (int32_t kind : {kMandelbrot, kJulia}) {
            for (int row = 0; row < 6; ++row) {
                const View v{kind, re(random), im(random), 1.0 / 64, cap, 64, 1, juliaRe, juliaIm};
                Show(lib, v);
                lib.FillBufferSync();
                const auto got = Values(lib, v.width, 1, cap, false);
                for (int x = 0; x < v.width; ++x) {
                    const double cr = v.left + x * v.step;
                    const int32_t want = kind == kMandelbrot
                                             ? SingleSteps(cr, v.top, cr, v.top, cap)
                                             : SingleSteps(cr, v.top, juliaRe, juliaIm, cap);
                    mismatches += got[x] != want;
                    EXPECT_EQ(got[x], want) << "cap " << cap << " kind " << kind << " at " << cr
                                            << (v.top < 0 ? "" : "+") << v.top << "i";
                    if (mismatches > 5) {
                        return;
                    }
                }
            }
        }
    }
}

// Scans forward from an empty buffer, then again backward after Pan(0, 0) has cleared the top
// row and the left column; both equal the tracing algorithm run on the true values. The Julia
// view has regions with holes, which the fill covers without computing them.
TEST_F(FractaluxFill, EqualsTheTracingAlgorithm) {
    const View views[] = {{kMandelbrot, -2.5, 1.25, 1.0 / 32, 200, 128, 80},
                          {kJulia, -1.5, 1.0, 1.0 / 32, 100, 96, 64, -0.8, 0.156},
                          {kNewton, -2, 1.5, 1.0 / 32, 20, 128, 96}};
    for (const View& v : views) {
        const auto truth = EveryPixel(lib, v);
        const int32_t border = v.kind == kNewton ? 22 : v.maxIts + 2;
        auto buf = Framed(std::vector<int32_t>(truth.size(), 0), v.width, v.height, border);
        TracingFill(buf, v.width, v.height, truth, v.maxIts, false);
        Show(lib, v);
        lib.FillBufferSync();
        const bool newton = v.kind == kNewton;
        EXPECT_EQ(Values(lib, v.width, v.height, v.maxIts, newton),
                  Unframed(buf, v.width, v.height))
            << "kind " << v.kind;
        if (v.kind == kJulia) {
            EXPECT_NE(Unframed(buf, v.width, v.height), truth) << "no region with a hole";
        }

        for (int32_t x = 0; x < v.width; ++x) {
            buf[v.width + 2 + 1 + x] = 0;
        }
        for (int32_t y = 0; y < v.height; ++y) {
            buf[(y + 1) * (v.width + 2) + 1] = 0;
        }
        TracingFill(buf, v.width, v.height, truth, v.maxIts, true);
        lib.SetCallbacks(CountDone, nullptr);
        const int before = gDone.load(std::memory_order_acquire);
        lib.Pan(0, 0);
        ASSERT_TRUE(WaitFor([&] { return gDone.load(std::memory_order_acquire) > before; }));
        EXPECT_EQ(Values(lib, v.width, v.height, v.maxIts, newton),
                  Unframed(buf, v.width, v.height))
            << "backward, kind " << v.kind;
        EXPECT_EQ(Get(lib).left, v.left);
    }
}

TEST_F(FractaluxFill, SimpleViewsEqualEveryPixelAndReportProgress) {
    const View views[] = {kWholeSet,
                          {kMandelbrot, -0.5, 0.25, 1.0 / 128, 200, 48, 48},
                          {kMandelbrot, -1.0, 0.5, 1.0 / 64, 60, 96, 64},
                          {kNewton, 0.5, 0.25, 1.0 / 64, 20, 48, 32}};
    for (const View& v : views) {
        const auto truth = EveryPixel(lib, v);
        Show(lib, v);
        FillAndWait(lib);
        EXPECT_EQ(Values(lib, v.width, v.height, v.maxIts, v.kind == kNewton), truth);
        ASSERT_EQ(gProgress.size(), static_cast<size_t>(v.height));
        for (int32_t y = 0; y < v.height; ++y) {
            EXPECT_EQ(gProgress[y], static_cast<double>(y) / v.height);
        }
    }
}

// Fills the view, switches the slot to a Julia set, applies a reuse operation and waits for the
// fill it starts. Kept pixels then still hold the old values and every other one a Julia value;
// the result must equal the tracing algorithm run on the kept pixels.
Params ExpectReuse(const Client& c, const View& v, const std::function<void()>& operation,
                   const std::function<int32_t(const std::vector<int32_t>& before, int x, int y,
                                               const std::vector<int32_t>& truth)>& kept,
                   bool reverse) {
    Show(c, v);
    c.FillBufferSync();
    const auto before = Values(c, v.width, v.height, v.maxIts, false);
    c.SetFractal(kJulia, -0.8, 0.156);
    c.SetCallbacks(CountDone, nullptr);
    const int done = gDone.load(std::memory_order_acquire);
    operation();
    if (!WaitFor([&] { return gDone.load(std::memory_order_acquire) > done; })) {
        ADD_FAILURE() << "the fill did not end";
        return {};
    }
    const Params p = Get(c);
    const auto after = Values(c, v.width, v.height, p.maxIts, false);

    const View moved{kJulia, p.left, p.top, p.step, p.maxIts, v.width, v.height, -0.8, 0.156};
    const auto truth = EveryPixel(c, moved);
    std::vector<int32_t> pixels;
    for (int y = 0; y < v.height; ++y) {
        for (int x = 0; x < v.width; ++x) {
            pixels.push_back(kept(before, x, y, truth));
        }
    }
    auto buf = Framed(pixels, v.width, v.height, p.maxIts + 2);
    TracingFill(buf, v.width, v.height, truth, p.maxIts, reverse);
    EXPECT_EQ(after, Unframed(buf, v.width, v.height));
    return p;
}

TEST_F(FractaluxReuse, PanKeepsTheStillValidPixelsInEveryDirection) {
    const View v = kWholeSet;
    const int w = v.width;
    const int h = v.height;
    const std::pair<int, int> moves[] = {{0, 0},  {5, 0}, {-5, 0},  {0, 4},   {0, -4},  {3, -2},
                                         {-3, 2}, {7, 7}, {-7, -7}, {200, 0}, {0, -200}};
    for (auto [dx, dy] : moves) {
        SCOPED_TRACE(testing::Message() << "Pan(" << dx << ", " << dy << ")");
        const Params p = ExpectReuse(
            lib, v, [&] { lib.Pan(dx, dy); },
            [&](const std::vector<int32_t>& before, int x, int y, const std::vector<int32_t>&) {
                const int ox = x - dx;
                const int oy = y + dy;
                return ox >= 1 && ox < w && oy >= 1 && oy < h ? before[oy * w + ox] : 0;
            },
            dx - dy <= 0);
        EXPECT_EQ(p.left, v.left - dx * v.step);
        EXPECT_EQ(p.top, v.top - dy * v.step);

        // Without the switch, a moved view equals the fresh one exactly.
        Show(lib, v);
        lib.FillBufferSync();
        lib.SetCallbacks(CountDone, nullptr);
        const int done = gDone.load(std::memory_order_acquire);
        lib.Pan(dx, dy);
        ASSERT_TRUE(WaitFor([&] { return gDone.load(std::memory_order_acquire) > done; }));
        const auto panned = Values(lib, w, h, v.maxIts, false);
        View moved = v;
        moved.left -= dx * v.step;
        moved.top -= dy * v.step;
        EXPECT_EQ(panned, EveryPixel(lib, moved));
    }
}

TEST_F(FractaluxReuse, ChangeItsShiftsEscapedValuesOrKeepsTheInside) {
    const View v = kWholeSet;
    ExpectReuse(
        lib, v, [&] { lib.ChangeIts(40); },
        [](const std::vector<int32_t>& before, int x, int y, const std::vector<int32_t>&) {
            const int32_t old = before[y * kWholeSet.width + x];
            return old == 1 ? 0 : old + 20;
        },
        false);
    ExpectReuse(
        lib, v, [&] { lib.ChangeIts(15); },
        [](const std::vector<int32_t>& before, int x, int y, const std::vector<int32_t>&) {
            return before[y * kWholeSet.width + x] == 1 ? 1 : 0;
        },
        false);

    // The same cap changes nothing and starts no fill.
    Show(lib, v);
    lib.FillBufferSync();
    const auto before = Values(lib, v.width, v.height, v.maxIts, false);
    lib.SetCallbacks(CountDone, RecordProgress);
    gProgress.clear();
    const int done = gDone.load();
    lib.ChangeIts(v.maxIts);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(gDone.load(), done);
    EXPECT_TRUE(gProgress.empty());
    EXPECT_EQ(Values(lib, v.width, v.height, v.maxIts, false), before);

    // Newton basins are filled anew.
    const View basins{kNewton, -2, 1.5, 1.0 / 32, 20, 64, 48};
    Show(lib, basins);
    lib.FillBufferSync();
    lib.SetCallbacks(CountDone, nullptr);
    lib.ChangeIts(1);
    ASSERT_TRUE(WaitFor([&] { return gDone.load(std::memory_order_acquire) > done; }));
    const auto refilled = Values(lib, basins.width, basins.height, 1, true);
    View one = basins;
    one.maxIts = 1;
    EXPECT_EQ(refilled, EveryPixel(lib, one));
}

TEST_F(FractaluxReuse, BlockZoomsKeepTheNearestPixels) {
    const View v = kWholeSet;
    const int w = v.width;
    const int h = v.height;
    for (int n : {2, 3, 8}) {
        SCOPED_TRACE(testing::Message() << "n = " << n);
        const int f = w / n;
        const int g = h / n;
        const Params in = ExpectReuse(
            lib, v, [&] { lib.ZoomBlock(n); },
            [&](const std::vector<int32_t>& before, int x, int y, const std::vector<int32_t>& t) {
                if (x % n == n - 1 || y % n == n - 1) {
                    return x % n == n - 1 && y % n == n - 1 ? t[y * w + x] : 0;
                }
                return before[(g / 2 + y - y / n) * w + f / 2 + x - x / n];
            },
            false);
        EXPECT_EQ(in.step, v.step * (n - 1) / n);
        EXPECT_EQ(in.left, v.left + (f / 2) * v.step);
        EXPECT_EQ(in.top, v.top - (g / 2) * v.step);

        const int r = (h / n) / 2;
        const Params out = ExpectReuse(
            lib, v, [&] { lib.ZoomOutBlock(n); },
            [&](const std::vector<int32_t>& before, int x, int y, const std::vector<int32_t>&) {
                // New pixel (x, y) holds the old one whose packed position it is, if any.
                for (int oy = 0; oy < h; ++oy) {
                    for (int ox = 0; ox < w; ++ox) {
                        if (ox % n != n - 1 && oy % n != n - 1 && f / 2 + ox - ox / n == x &&
                            r + oy - oy / n == y) {
                            return before[oy * w + ox];
                        }
                    }
                }
                return 0;
            },
            false);
        EXPECT_EQ(out.step, v.step * n / (n - 1));
        EXPECT_EQ(out.left, v.left - (f / 2) * out.step);
        EXPECT_EQ(out.top, v.top + r * out.step);
    }
}

TEST_F(FractaluxReuse, ZoomCornerKeepsTheTopLeftCorner) {
    const View v = kWholeSet;
    for (double q : {1.0, 1.5, 2.0, 3.0}) {
        SCOPED_TRACE(testing::Message() << "q = " << q);
        const int rows = static_cast<int>(v.height / q);
        const int cols = static_cast<int>(v.width / q);
        const Params p = ExpectReuse(
            lib, v, [&] { lib.ZoomCorner(v.step * q); },
            [&](const std::vector<int32_t>& before, int x, int y, const std::vector<int32_t>&) {
                return x < cols && y < rows
                           ? before[static_cast<int>(q * y) * v.width + static_cast<int>(q * x)]
                           : 0;
            },
            false);
        EXPECT_EQ(p.step, v.step * q);
        EXPECT_EQ(p.left, v.left);
        EXPECT_EQ(p.top, v.top);
    }
}

TEST_F(FractaluxReuse, ResampleAndRefusedZoomsChangeNothingElse) {
    const View v = kWholeSet;
    Show(lib, v);
    lib.FillBufferSync();
    const auto before = Values(lib, v.width, v.height, v.maxIts, false);
    lib.SetCallbacks(CountDone, nullptr);
    const int done = gDone.load();
    lib.ZoomBlock(1);
    lib.ZoomBlock(0);
    lib.ZoomBlock(-4);
    lib.ZoomOutBlock(1);
    lib.ZoomOutBlock(-1);
    lib.ZoomCorner(v.step / 2);
    lib.ZoomCorner(std::nan(""));
    lib.Resample(0, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(gDone.load(), done);
    EXPECT_EQ(Get(lib).step, v.step);
    EXPECT_EQ(Values(lib, v.width, v.height, v.maxIts, false), before);

    lib.Resample(v.width / 2, v.height / 2);
    EXPECT_EQ(Get(lib).step, v.step * 2);
    EXPECT_EQ(Get(lib).left, v.left);
    const auto bits = Surface(lib, v.width / 2 * 4, v.height / 2);
    EXPECT_EQ(std::count(bits.begin(), bits.end(), 0), static_cast<long>(bits.size()));
    EXPECT_EQ(gDone.load(), done);
}

// Calls before Initialize and arguments at the ends of their ranges end in a usable slot.
TEST_F(FractaluxInterface, HostileCallsNeverBreakTheSlot) {
    uint32_t pixel = 7;
    EXPECT_EQ(lib.Buf2Surface(&pixel, 4), 0);
    EXPECT_EQ(pixel, 7u);
    lib.FillBuffer();
    lib.FillBufferSync();
    lib.Pan(1, 1);
    lib.ZoomBlock(2);
    lib.Resample(10, 10);
    lib.SetColorOrder(0, 0, 0);

    lib.SetParams(0, 0, 0.1, -50);
    EXPECT_EQ(Get(lib).maxIts, 0);
    lib.SetParams(0, 0, 0.1, INT32_MAX);
    EXPECT_EQ(Get(lib).maxIts, INT32_MAX - 2);

    Show(lib, {kMandelbrot, -2, 1, 1.0 / 8, 30, 24, 16});
    lib.SetCallbacks(CountDone, nullptr);
    const std::vector<std::function<void()>> calls = {
        [&] { lib.Pan(INT32_MIN, INT32_MAX); },
        [&] { lib.Pan(INT32_MAX, INT32_MIN); },
        [&] { lib.ZoomBlock(INT32_MAX); },
        [&] { lib.ZoomOutBlock(INT32_MAX); },
        [&] { lib.ZoomOutBlock(INT32_MIN); },
        [&] { lib.ZoomCorner(1e308); },
        [&] { lib.ZoomCorner(INFINITY); },
        [&] { lib.ChangeIts(-5); },
        [&] { lib.ChangeIts(12); },
        [&] { lib.SetColorCycles(INT32_MIN); },
        [&] { lib.SetFractal(kNewton, 0, 0); },
        [&] { lib.ChangeIts(0); },
        [&] { lib.SetFractal(kJulia, 1e300, -1e300); },
        [&] { lib.ChangeIts(30); },
        [&] { lib.SetParams(NAN, NAN, NAN, 20); },
        [&] { lib.FillBuffer(); },
        [&] { lib.Resample(65535, 1); },
        [&] { lib.Resample(1, 1); },
        [&] { lib.Resample(24, 16); },
        [&] { lib.SetParams(1, -2, 1.0 / 8, 30); },
        [&] { lib.SetFractal(kMandelbrot, 0, 0); },
        [&] { lib.SetColorCycles(1); },
    };
    std::vector<uint32_t> bits(65535 * 16); // room for the widest image here
    for (const auto& call : calls) {
        call();
        lib.Buf2Surface(bits.data(), 65535 * 4);
    }
    lib.FillBufferSync();
    const View v{kMandelbrot, -2, 1, 1.0 / 8, 30, 24, 16};
    const auto filled = Values(lib, v.width, v.height, v.maxIts, false);
    EXPECT_EQ(filled, EveryPixel(lib, v));
}

} // namespace
