#include "FractaluxClient.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>

using namespace fractalux_test;

namespace {

constexpr int32_t kMandelbrot = 1;
constexpr int32_t kJulia = 2;
constexpr int32_t kNewton = 3;

// The whole Mandelbrot set at a cap whose slow regions are all simple.
const View kWholeSet{kMandelbrot, -2.5, 1.25, 1.0 / 32, 20, 128, 80};

using Pixels = std::vector<int32_t>;

// The colour of value v by the colour ramp, written out again here, on a layout with channel bits
// and shifts.
uint32_t ExpectedColor(int32_t v, int32_t maxIts, bool newton, int bits, int s1, int s2, int s3) {
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
    const auto p = static_cast<int64_t>(std::trunc(double(d) * 3 / maxIts * (v - 1))) % (3 * d);
    const int64_t a = p % d;
    const int64_t roles[3][3] = {{d - 1 - a, 0, a}, {0, a, d - 1 - a}, {a, d - 1 - a, 0}};
    return word(roles[p / d][0], roles[p / d][1], roles[p / d][2]);
}

// The pixel values of the current slot, read back from their colours (one colour cycle, where
// each value of a cap up to 384 has its own colour); 0 and 1 both read as 1.
Pixels Values(const Client& c, const View& v) {
    std::map<uint32_t, int32_t> byColor;
    for (int32_t value = 1; value <= (v.kind == kNewton ? 3 : v.maxIts + 1); ++value) {
        byColor.emplace(ExpectedColor(value, v.maxIts, v.kind == kNewton, 8, 16, 8, 0), value);
    }
    Pixels values;
    for (uint32_t word : Image(c, v)) {
        const auto it = byColor.find(word);
        values.push_back(it == byColor.end() ? -1 : it->second);
    }
    return values;
}

// Every pixel of a view computed on its own: each row as an image one pixel high, in which the
// trace computes every pixel it meets.
Pixels EveryPixel(const Client& c, View v) {
    Pixels all;
    const double top = v.top;
    const int32_t height = v.height;
    v.height = 1;
    for (int32_t y = 0; y < height; ++y) {
        v.top = top - y * v.step;
        Show(c, v);
        c.FillBufferSync();
        const auto row = Values(c, v);
        all.insert(all.end(), row.begin(), row.end());
    }
    return all;
}

// The boundary-tracing fill written out again here, on pixel values (0 = not yet computed), looking
// the true values up instead of computing them; outside the image reads as a border value.
void TracingFill(Pixels& px, int w, int h, const Pixels& truth, int32_t maxIts, bool reverse) {
    const int dx[4] = {1, 0, -1, 0};
    const int dy[4] = {0, 1, 0, -1};
    auto at = [&](int x, int y, bool compute) {
        if (x < 0 || y < 0 || x >= w || y >= h) {
            return -1;
        }
        if (compute && px[y * w + x] == 0) {
            px[y * w + x] = truth[y * w + x];
        }
        return px[y * w + x];
    };
    auto walk = [&](int sx, int sy, int m, bool compute, auto&& afterMove) {
        int x = sx, y = sy, o = reverse ? 2 : 0;
        do {
            int k = 0;
            while (k < 4 && at(x + dx[(o + 3 + k) % 4], y + dy[(o + 3 + k) % 4], compute) != m) {
                ++k;
            }
            if (k == 4) {
                return;
            }
            o = (o + 3 + k) % 4;
            x += dx[o];
            y += dy[o];
            afterMove(x, y, o);
        } while (x != sx || y != sy);
    };
    for (int r = 0; r < h; ++r) {
        for (int col = 0; col < w; ++col) {
            const int y = reverse ? h - 1 - r : r;
            const int x = reverse ? w - 1 - col : col;
            if (px[y * w + x] != 0) {
                continue;
            }
            const int m = at(x, y, true);
            walk(x, y, m, true, [](int, int, int) {});
            if (m < maxIts - 10) {
                walk(x, y, m, false, [&](int qx, int qy, int o) {
                    const int step = reverse ? 1 : -1;
                    for (int i = qx + step; (reverse || o == 1 || o == 2) && at(i, qy, false) == 0;
                         i += step) {
                        px[qy * w + i] = m;
                    }
                });
            }
        }
    }
}

std::vector<double> gProgress; // written by the worker only, read after its done callback
void RecordProgress(double fraction) {
    gProgress.push_back(fraction);
}

using FractaluxTest = Fixture;

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

TEST_F(FractaluxTest, SetCurrentClampsAndSlotsAreIndependent) {
    lib.SetCurrent(5);
    lib.SetParams(1.5, -2.0, 0.25, 77);
    lib.SetCurrent(-3);
    lib.SetParams(0.5, -1.0, 0.125, 33);
    lib.SetCurrent(1);
    const View one = Current(lib, {});
    EXPECT_EQ(std::tuple(one.top, one.left, one.step, one.maxIts), std::tuple(1.5, -2.0, 0.25, 77));
    lib.SetCurrent(0);
    EXPECT_EQ(Current(lib, {}).maxIts, 33);
}

TEST_F(FractaluxTest, RefusedFormatsAndSizesKeepTheSlot) {
    const View v{kMandelbrot, 0, 0, 1, 100, 3, 1};
    Show(lib, v);
    lib.FillBufferSync();
    const auto before = Image(lib, v);
    const std::set<int32_t> accepted = {20, 21, 22, 23, 24, 25, 26, 27, 29, 30};
    for (int32_t code = -1; code <= 40; ++code) {
        if (!accepted.count(code)) {
            EXPECT_EQ(lib.Initialize(5, 5, code), -1) << code;
        }
    }
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-4, 5}, {70000, 2}, {40000, 40000}}) {
        EXPECT_EQ(lib.Initialize(w, h, 21), -1) << w << " x " << h;
    }
    EXPECT_EQ(Image(lib, v), before);
}

// Pixels 0, 1, 2 of both rows at cap 100 have the values 1, 100, 101 (black, the ramp near its
// end, the ramp's start); each is written in its lowest bytes, little-endian, at the pitch.
TEST_F(FractaluxTest, EveryFormatWritesItsPixelsAtThePitch) {
    struct Layout {
        int32_t code, bytes, bits, s1, s2, s3;
    };
    const Layout layouts[] = {{20, 3, 8, 16, 8, 0}, {21, 4, 8, 16, 8, 0}, {22, 4, 8, 16, 8, 0},
                              {23, 2, 5, 11, 5, 0}, {24, 2, 5, 10, 5, 0}, {25, 2, 5, 10, 5, 0},
                              {26, 2, 4, 8, 4, 0},  {30, 2, 4, 8, 4, 0},  {27, 1, 2, 5, 2, 0},
                              {29, 2, 2, 5, 2, 0}};
    const int32_t values[3] = {1, 100, 101};
    for (const Layout& f : layouts) {
        ASSERT_EQ(lib.Initialize(3, 2, f.code), 0);
        lib.SetParams(0, 0, 1, 100);
        lib.SetColorCycles(1);
        lib.FillBufferSync();
        const int32_t pitch = 3 * f.bytes + 3;
        std::vector<uint8_t> bits(2 * pitch, 0xAB);
        EXPECT_EQ(lib.Buf2Surface(bits.data(), pitch), 0);
        for (int b = 0; b < 2 * pitch; ++b) {
            const int x = b % pitch / f.bytes;
            const uint32_t want =
                ExpectedColor(values[std::min(x, 2)], 100, false, f.bits, f.s1, f.s2, f.s3);
            EXPECT_EQ(bits[b], x < 3 ? (want >> 8 * (b % pitch % f.bytes)) & 0xFF : 0xAB)
                << "format " << f.code << " byte " << b;
        }
    }
}

// Pixels 1 and 2 of the row at cap 100 have the values 100 and 101; on Newton basins every pixel
// of the row is the third root.
TEST_F(FractaluxTest, RampCyclesAndColourOrder) {
    struct Case {
        int32_t format, kind, cycles, order[3], x;
        uint32_t want;
    };
    const Case cases[] = {
        // One cycle: p = trunc(768 * 99 / 100) = 760; two: trunc(1536 * 99 / 100) mod 768 = 752.
        {21, kMandelbrot, 1, {0, 1, 2}, 1, 248u << 16 | 7u << 8},
        {21, kMandelbrot, 2, {0, 1, 2}, 1, 240u << 16 | 15u << 8},
        // Without cycles every escaped pixel is the first role at full strength.
        {21, kMandelbrot, 0, {0, 1, 2}, 1, 255u << 16},
        {21, kMandelbrot, 0, {0, 1, 2}, 2, 255u << 16},
        {23, kMandelbrot, 1, {0, 1, 2}, 2, 31u << 11},
        {21, kNewton, 0, {0, 1, 2}, 0, 255u},
        // Red and blue swapped; then only the third role moves, to the largest shift.
        {21, kMandelbrot, 0, {2, 1, 0}, 2, 255u},
        {21, kMandelbrot, 1, {2, 1, 0}, 1, 248u | 7u << 8},
        {23, kNewton, 0, {2, 1, 0}, 0, 31u << 11},
        {21, kMandelbrot, 0, {7, -1, 0}, 2, 255u << 16},
        {21, kNewton, 0, {7, -1, 0}, 0, 255u << 16},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lib.Initialize(3, 1, c.format), 0);
        const bool newton = c.kind == kNewton;
        lib.SetParams(newton ? 0.8660254037844386 : 0, newton ? -0.5 : 0, newton ? 0 : 1, 100);
        lib.SetFractal(c.kind, 0, 0);
        lib.SetColorCycles(c.cycles);
        lib.SetColorOrder(c.order[0], c.order[1], c.order[2]);
        lib.FillBufferSync();
        uint8_t bytes[12] = {};
        lib.Buf2Surface(bytes, sizeof bytes);
        const int size = c.format == 23 ? 2 : 4;
        uint32_t word = 0;
        std::memcpy(&word, bytes + c.x * size, size);
        EXPECT_EQ(word, c.want) << "format " << c.format << " kind " << c.kind << " cycles "
                                << c.cycles << " pixel " << c.x << " order " << c.order[0]
                                << c.order[1] << c.order[2];
    }
}

// The Mandelbrot values of the pixels 0, 1 and 2 are those the format test reads back.
TEST_F(FractaluxTest, NewtonRootsAndFractalKinds) {
    // Newton: 0 breaks down to 1; 1 and the two other roots. A kind other than 1 to 3 keeps it.
    const double r = 0.8660254037844386;
    const std::tuple<double, double, int32_t> points[] = {
        {0, 0, 1}, {1, 0, 1}, {-0.5, -r, 2}, {-0.5, r, 3}};
    for (auto [re, im, root] : points) {
        const View v{kNewton, re, im, 1, 25, 1, 1};
        Show(lib, v);
        lib.SetFractal(root == 1 ? 0 : 4, 5, 5);
        lib.FillBufferSync();
        EXPECT_EQ(Values(lib, v)[0], root) << re << " " << im;
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

TEST_F(FractaluxTest, EightStepBlocksEqualSingleSteps) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> re(-2.2, 0.2);
    std::uniform_real_distribution<double> im(-1.3, 1.0);
    int mismatches = 0;
    for (int32_t cap = 1; cap <= 40 && mismatches < 5; ++cap) {
        for (int32_t kind : {kMandelbrot, kJulia}) {
            const View v{kind, re(random), im(random), 1.0 / 64, cap, 40, 8, -0.8, 0.156};
            const auto got = EveryPixel(lib, v);
            for (int i = 0; i < v.width * v.height; ++i) {
                const double zr = v.left + i % v.width * v.step;
                const double zi = v.top - i / v.width * v.step;
                const int32_t want = kind == kMandelbrot ? SingleSteps(zr, zi, zr, zi, cap)
                                                         : SingleSteps(zr, zi, v.re, v.im, cap);
                mismatches += got[i] != want;
                EXPECT_EQ(got[i], want) << "cap " << cap << " kind " << kind << " at " << zr
                                        << (zi < 0 ? "" : "+") << zi << "i";
            }
        }
    }
}

// The forward fill (synchronous and asynchronous) and the backward one started by a pan that
// keeps no pixel equal the tracing algorithm run on the true values, and so computing every
// pixel except on the Julia view, whose regions with holes the fill covers without computing.
TEST_F(FractaluxTest, FillsEqualTheTracingAlgorithm) {
    const View views[] = {kWholeSet,
                          {kMandelbrot, -2.5, 1.25, 1.0 / 32, 200, 128, 80},
                          {kMandelbrot, -0.5, 0.25, 1.0 / 128, 200, 48, 48},
                          {kJulia, -1.5, 1.0, 1.0 / 32, 100, 96, 64, -0.8, 0.156},
                          {kNewton, -2, 1.5, 1.0 / 32, 20, 128, 96}};
    for (const View& v : views) {
        SCOPED_TRACE(testing::Message() << "kind " << v.kind << " cap " << v.maxIts);
        const auto truth = EveryPixel(lib, v);
        Pixels forward(truth.size(), 0);
        Pixels backward(truth.size(), 0);
        TracingFill(forward, v.width, v.height, truth, v.maxIts, false);
        TracingFill(backward, v.width, v.height, truth, v.maxIts, true);
        EXPECT_EQ(forward == truth, v.kind != kJulia);

        Show(lib, v);
        lib.FillBufferSync();
        EXPECT_EQ(Values(lib, v), forward);
        lib.SetCallbacks(DoneOnSlot0, RecordProgress);
        gProgress.clear();
        ASSERT_TRUE(AndWait([&] { lib.FillBuffer(); }));
        EXPECT_EQ(Values(lib, v), forward);
        ASSERT_EQ(gProgress.size(), static_cast<size_t>(v.height));
        for (int32_t y = 0; y < v.height; ++y) {
            EXPECT_EQ(gProgress[y], static_cast<double>(y) / v.height);
        }

        lib.SetParams(v.top - 1000 * v.step, v.left - 1000 * v.step, v.step, v.maxIts);
        ASSERT_TRUE(AndWait([&] { lib.Pan(-1000, -1000); }));
        EXPECT_EQ(Values(lib, v), backward);
    }
}

// The old pixel index that new pixel (x, y) keeps after a reuse operation; -1 when it is cleared,
// -2 when it is computed at once.
using Source = std::function<int(int x, int y)>;

// Fills the view, switches the slot to a Julia set, applies a reuse operation and waits for the
// fill it starts. Kept pixels then still hold the old values (changed by the operation's value
// map, if any) and every other one a Julia value; the result must equal the tracing algorithm
// run on the kept pixels. Where the operation keeps pixels exactly, the same operation without
// the switch must equal computing every pixel.
void ExpectReuse(const Client& c, const View& v, const std::function<void()>& operation,
                 const Source& source, const std::function<int32_t(int32_t)>& map,
                 const View& after, bool reverse, bool exact) {
    Show(c, v);
    c.FillBufferSync();
    const auto before = Values(c, v);
    c.SetFractal(kJulia, -0.8, 0.156);
    c.SetCallbacks(DoneOnSlot0, nullptr);
    ASSERT_TRUE(AndWait(operation));
    const View now = Current(c, v);
    EXPECT_EQ(std::tuple(now.left, now.top, now.step, now.maxIts),
              std::tuple(after.left, after.top, after.step, after.maxIts));
    View julia = after;
    julia.kind = kJulia;
    julia.re = -0.8;
    julia.im = 0.156;
    const auto result = Values(c, after);
    const auto truth = EveryPixel(c, julia);
    Pixels pixels(truth.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        const int from = source(static_cast<int>(i % v.width), static_cast<int>(i / v.width));
        pixels[i] = from == -2 ? truth[i] : from == -1 ? 0 : map ? map(before[from]) : before[from];
    }
    TracingFill(pixels, v.width, v.height, truth, after.maxIts, reverse);
    EXPECT_EQ(result, pixels);
    if (exact) {
        Show(c, v);
        c.FillBufferSync();
        c.SetCallbacks(DoneOnSlot0, nullptr);
        ASSERT_TRUE(AndWait(operation));
        const auto fresh = Values(c, after);
        EXPECT_EQ(fresh, EveryPixel(c, after)) << "not a fresh fill";
    }
}

TEST_F(FractaluxTest, ReuseOperationsKeepWhatStaysValid) {
    const View v = kWholeSet;
    const int w = v.width;
    const int h = v.height;
    auto after = [&](double left, double top, double step, int32_t maxIts) {
        return View{v.kind, left, top, step, maxIts, w, h};
    };
    auto at = [&](int x, int y, bool kept) { return kept ? y * w + x : -1; };
    const std::pair<int, int> moves[] = {{0, 0},  {5, 0}, {-5, 0},  {0, 4},   {0, -4},  {3, -2},
                                         {-3, 2}, {7, 7}, {-7, -7}, {200, 0}, {0, -200}};
    for (auto [dx, dy] : moves) {
        SCOPED_TRACE(testing::Message() << "Pan " << dx << " " << dy);
        ExpectReuse(
            lib, v, [&] { lib.Pan(dx, dy); },
            [&](int x, int y) {
                const int ox = x - dx;
                const int oy = y + dy;
                return at(ox, oy, ox >= 1 && ox < w && oy >= 1 && oy < h);
            },
            nullptr, after(v.left - dx * v.step, v.top - dy * v.step, v.step, v.maxIts),
            dx - dy <= 0, true);
    }
    for (int32_t cap : {40, 15}) {
        SCOPED_TRACE(testing::Message() << "ChangeIts " << cap);
        ExpectReuse(
            lib, v, [&] { lib.ChangeIts(cap); }, [&](int x, int y) { return at(x, y, true); },
            [&](int32_t old) {
                return cap > v.maxIts ? (old == 1 ? 0 : old + cap - v.maxIts) : (old == 1 ? 1 : 0);
            },
            after(v.left, v.top, v.step, cap), false, true);
    }
    for (int n : {2, 3, 8}) {
        SCOPED_TRACE(testing::Message() << "n = " << n);
        const int f = w / n;
        const int g = h / n;
        const int r = g / 2;
        ExpectReuse(
            lib, v, [&] { lib.ZoomBlock(n); },
            [&](int x, int y) {
                const bool cx = x % n == n - 1;
                const bool cy = y % n == n - 1;
                return cx && cy ? -2 : at(f / 2 + x - x / n, r + y - y / n, !cx && !cy);
            },
            nullptr,
            after(v.left + (f / 2) * v.step, v.top - r * v.step, v.step * (n - 1) / n, v.maxIts),
            false, false);
        // The k-th column kept by ZoomOutBlock is old column k + k / (n - 1), rows alike.
        const double out = v.step * n / (n - 1);
        ExpectReuse(
            lib, v, [&] { lib.ZoomOutBlock(n); },
            [&](int x, int y) {
                const int kx = x - f / 2;
                const int ky = y - r;
                return at(kx + kx / (n - 1), ky + ky / (n - 1),
                          kx >= 0 && kx < w - f && ky >= 0 && ky < h - g);
            },
            nullptr, after(v.left - (f / 2) * out, v.top + r * out, out, v.maxIts), false, false);
    }
    for (double q : {1.0, 1.5, 2.0, 3.0}) {
        SCOPED_TRACE(testing::Message() << "ZoomCorner " << q);
        ExpectReuse(
            lib, v, [&] { lib.ZoomCorner(v.step * q); },
            [&](int x, int y) {
                return at(int(q * x), int(q * y), x < int(w / q) && y < int(h / q));
            },
            nullptr, after(v.left, v.top, v.step * q, v.maxIts), false, q == std::trunc(q));
    }
}

TEST_F(FractaluxTest, ChangeItsKeepsUncomputedPixelsAndSkipsTheSameCap) {
    // A buffer just allocated holds no computed pixel; raising the cap keeps it so.
    const View v = kWholeSet;
    Show(lib, v);
    lib.SetCallbacks(DoneOnSlot0, RecordProgress);
    ASSERT_TRUE(AndWait([&] { lib.ChangeIts(40); }));
    const View raised = Current(lib, v);
    const auto filled = Values(lib, raised);
    EXPECT_EQ(filled, EveryPixel(lib, raised));

    Show(lib, v);
    lib.FillBufferSync();
    const auto before = Values(lib, v);
    gProgress.clear();
    lib.ChangeIts(v.maxIts);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(gDone[0].load(), 1);
    EXPECT_TRUE(gProgress.empty());
    EXPECT_EQ(Values(lib, v), before);

    // Newton basins are filled anew.
    const View basins{kNewton, -2, 1.5, 1.0 / 32, 20, 64, 48};
    Show(lib, basins);
    lib.FillBufferSync();
    ASSERT_TRUE(AndWait([&] { lib.ChangeIts(1); }));
    const View one = Current(lib, basins);
    const auto refilled = Values(lib, one);
    EXPECT_EQ(refilled, EveryPixel(lib, one));
}

// A cap is kept as given, below 1 too (no point escapes under it), except at the top, where the
// values above the cap must fit.
TEST_F(FractaluxTest, CapsBelowOneAreKeptAndTheLargestAreClamped) {
    const std::pair<int32_t, int32_t> caps[] = {{INT32_MAX, INT32_MAX - 2},
                                                {INT32_MAX - 1, INT32_MAX - 2},
                                                {INT32_MAX - 2, INT32_MAX - 2},
                                                {INT32_MAX - 3, INT32_MAX - 3},
                                                {0, 0},
                                                {-3, -3},
                                                {INT32_MIN, INT32_MIN}};
    for (const auto& [given, kept] : caps) {
        lib.SetParams(1, -1, 0.5, given);
        EXPECT_EQ(Current(lib, {}).maxIts, kept) << given;
    }

    // Lowering the cap below 0 clears the escaped pixels and fills anew: all black.
    const View v = kWholeSet;
    Show(lib, v);
    lib.FillBufferSync();
    const auto whole = Image(lib, v);
    ASSERT_NE(whole, std::vector<uint32_t>(whole.size(), 0));
    lib.SetParams(v.top, v.left, v.step, 0);
    lib.SetCallbacks(DoneOnSlot0, nullptr);
    lib.ChangeIts(-3);
    ASSERT_EQ(Current(lib, v).maxIts, -3);
    ASSERT_TRUE(WaitFor([] { return gDone[0].load(std::memory_order_acquire) == 1; }));
    EXPECT_EQ(Image(lib, v), std::vector<uint32_t>(whole.size(), 0));
    // And back up to the view's cap, every pixel is computed again.
    ASSERT_TRUE(AndWait([&] { lib.ChangeIts(v.maxIts); }));
    EXPECT_EQ(Image(lib, v), whole);
}

TEST_F(FractaluxTest, ResampleAndRefusedZoomsStartNoFill) {
    const View v = kWholeSet;
    Show(lib, v);
    lib.FillBufferSync();
    const auto before = Values(lib, v);
    lib.SetCallbacks(DoneOnSlot0, nullptr);
    lib.ZoomBlock(1);
    lib.ZoomBlock(0);
    lib.ZoomBlock(-4);
    lib.ZoomOutBlock(1);
    lib.ZoomOutBlock(-1);
    lib.ZoomCorner(v.step / 2);
    lib.ZoomCorner(std::nan(""));
    lib.Resample(0, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(Current(lib, v).step, v.step);
    EXPECT_EQ(Values(lib, v), before);

    // The whole old view stays inside the new image, which is not filled.
    for (auto [w, h, scale] : {std::tuple{64, 40, 2.0}, {64, 80, 2.0}, {128, 20, 4.0}}) {
        Show(lib, v);
        lib.Resample(w, h);
        const View resampled = Current(lib, {kMandelbrot, 0, 0, 0, 0, w, h});
        EXPECT_EQ(std::tuple(resampled.left, resampled.top, resampled.step),
                  std::tuple(v.left, v.top, v.step * scale));
        EXPECT_EQ(Image(lib, resampled), std::vector<uint32_t>(w * h, 0));
    }
    EXPECT_EQ(gDone[0].load(), 0);
}

// Calls before Initialize and arguments at the ends of their ranges end in a usable slot.
TEST_F(FractaluxTest, HostileCallsNeverBreakTheSlot) {
    uint32_t pixel = 7;
    EXPECT_EQ(lib.Buf2Surface(&pixel, 4), 0);
    EXPECT_EQ(pixel, 7u);
    lib.FillBuffer();
    lib.FillBufferSync();
    lib.Pan(1, 1);
    lib.ZoomBlock(2);
    lib.Resample(10, 10);
    lib.SetColorOrder(0, 0, 0);

    const View v{kMandelbrot, -2, 1, 1.0 / 8, 30, 24, 16};
    Show(lib, v);
    lib.SetCallbacks(DoneOnSlot0, nullptr);
    const std::function<void()> calls[] = {
        [&] { lib.Pan(INT32_MIN, INT32_MAX); },
        [&] { lib.Pan(INT32_MAX, INT32_MIN); },
        [&] { lib.ZoomBlock(INT32_MAX); },
        [&] { lib.ZoomOutBlock(INT32_MAX); },
        [&] { lib.ZoomCorner(1e308); },
        [&] { lib.ZoomCorner(INFINITY); },
        [&] { lib.ChangeIts(-5); },
        [&] { lib.ChangeIts(12); },
        [&] { lib.SetColorCycles(INT32_MIN); },
        [&] { lib.SetFractal(kNewton, 0, 0), lib.ChangeIts(0); },
        [&] { lib.SetFractal(kJulia, 1e300, -1e300), lib.ChangeIts(30); },
        [&] { lib.SetParams(NAN, NAN, NAN, 20), lib.FillBuffer(); },
        // Every point escapes at once, at the largest and at a negative cap.
        [&] { lib.SetParams(10, 10, 1, INT32_MAX), lib.FillBufferSync(); },
        [&] { lib.SetParams(10, 10, 1, -50), lib.FillBufferSync(); },
        [&] { lib.Resample(65535, 1); },
        [&] { lib.Resample(1, 1); },
        [&] { lib.Resample(24, 16), lib.SetParams(v.top, v.left, v.step, v.maxIts); },
        [&] { lib.SetFractal(kMandelbrot, 0, 0), lib.SetColorCycles(1); },
    };
    std::vector<uint32_t> bits(65535 * 16); // room for the widest image here
    for (const auto& call : calls) {
        call();
        lib.Buf2Surface(bits.data(), 65535 * 4);
    }
    lib.FillBufferSync();
    const auto filled = Values(lib, v);
    EXPECT_EQ(filled, EveryPixel(lib, v));
}

} // namespace
