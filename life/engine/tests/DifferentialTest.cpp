// The engine stepped side by side with the column-sweep engine it replaced, on random soups of
// every neighbourhood, around the origin and across the coordinate limits: every change list
// after Step and StepBack, the live sets, and the history as its limit drops records.

#include "LifeEngine.h"
#include "SweepEngine.h"

#include <climits>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Changes = std::vector<std::tuple<int32_t, int32_t, int>>;
using Cells = std::vector<std::pair<int32_t, int32_t>>;

template <typename Engine> Changes drain(Engine& e) {
    Changes out;
    int32_t x = 0, y = 0;
    int16_t c = 0;
    while (e.NextChange(x, y, c) && out.size() < 10000000)
        out.emplace_back(x, y, c);
    return out;
}

template <typename Engine> Cells live(Engine& e) {
    Cells out;
    int32_t x = 0, y = 0;
    e.StartIterating();
    while (e.NextCell(x, y) && out.size() < 10000000)
        out.emplace_back(x, y);
    return out;
}

// Both engines get every call alike.
struct Pair {
    LifeEngine fresh;
    SweepEngine old;

    void put(int32_t x, int32_t y, int16_t v) {
        fresh.PutCell(x, y, v);
        old.PutCell(x, y, v);
    }
    void setRule(uint32_t s, uint32_t b) {
        for (int16_t k = 0; k <= fresh.GetNeiCount(); ++k) {
            fresh.PutRuleS(k, (s >> k) & 1);
            old.PutRuleS(k, (s >> k) & 1);
            fresh.PutRuleB(k, (b >> k) & 1);
            old.PutRuleB(k, (b >> k) & 1);
        }
    }
    void apply(const Changes& ch) {
        for (auto [x, y, c] : ch)
            put(x, y, c > 0 ? 1 : 0);
    }
};

int32_t wrapped(int32_t a, int64_t d) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(d));
}

struct Case {
    int n;
    int32_t x0, y0;
};

class DifferentialTest : public testing::TestWithParam<Case> {};

// Soups of 200 x 200 cells (80 x 80 across the limits, where the sweep engine takes its slow
// path) at several densities, stepped 40 (25) generations with random rules,
// stepping back and forth, toggled cells, a rule change and a small history limit on the way.
TEST_P(DifferentialTest, ChangesAndStepBackMatchTheSweepEngine) {
    const Case c = GetParam();
    std::mt19937 rng(static_cast<unsigned>(c.n) * 1000003u + static_cast<uint32_t>(c.x0) * 7u +
                     static_cast<uint32_t>(c.y0));
    const uint32_t mask = (1u << (c.n + 1)) - 1;
    const bool atOrigin = c.x0 == 0 && c.y0 == 0;
    const int side = atOrigin ? 200 : 80;
    const int generations = atOrigin ? 40 : 25;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        Pair p;
        p.fresh.PutNeiCount(static_cast<int16_t>(c.n));
        p.old.PutNeiCount(static_cast<int16_t>(c.n));
        uint32_t s = static_cast<uint32_t>(rng()) & mask;
        uint32_t b = static_cast<uint32_t>(rng()) & mask & ~1u;
        if (round == 0) { // a rule that keeps a soup going on each lattice
            s = c.n == 8 ? 0b1100 : c.n == 6 ? 0b11000 : c.n == 12 ? 0b111000 : 0b1010;
            b = c.n == 8 ? 0b1000 : c.n == 6 ? 0b100 : c.n == 12 ? 0b10000 : 0b110;
        }
        if (round == 3) // scattered cells that give birth to their neighbours
            b |= 0b10;
        p.setRule(s, b);
        const unsigned percent = round == 1 ? 15 : round == 3 ? 1 : 50;
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j)
                if (rng() % 100 < percent)
                    p.put(wrapped(c.x0, i - side / 2), wrapped(c.y0, j - side / 2), 1);
        const int32_t limit = round == 2 ? side * side / 10 : 100000;
        p.fresh.PutHistoryLimit(limit);
        p.old.PutHistoryLimit(limit);
        for (int g = 1; g <= generations; ++g) {
            SCOPED_TRACE(testing::Message() << "generation " << g);
            p.fresh.Step();
            p.old.Step();
            const Changes forward = drain(p.old);
            ASSERT_EQ(drain(p.fresh), forward);
            if (g % 7 == 0) { // back two, forward again
                for (int k = 0; k < 2; ++k) {
                    ASSERT_EQ(p.fresh.StepBack(), p.old.StepBack());
                    const Changes back = drain(p.old);
                    ASSERT_EQ(drain(p.fresh), back);
                    p.apply(back);
                }
            }
            if (g % 9 == 0) { // toggle cells, some of them on tile edges
                for (int k = 0; k < 30; ++k) {
                    const int32_t x =
                        wrapped(c.x0, static_cast<int>(rng() % (side + 60)) - (side + 60) / 2);
                    const int32_t y =
                        wrapped(c.y0, static_cast<int>(rng() % (side + 60)) - (side + 60) / 2);
                    p.put(x, y, p.old.GetCell(x, y) ? 0 : 1);
                }
            }
            if (g == 20)
                p.setRule(s ^ 0b100, b);
            ASSERT_EQ(p.fresh.GetEmptyHistory(), p.old.GetEmptyHistory());
            if (live(p.old).size() > static_cast<size_t>(side * side * 3 / 2))
                break;
        }
        ASSERT_EQ(live(p.fresh), live(p.old));
        for (int k = 0; k < 100; ++k) {
            const int32_t x =
                wrapped(c.x0, static_cast<int>(rng() % (side + 40)) - (side + 40) / 2);
            const int32_t y =
                wrapped(c.y0, static_cast<int>(rng() % (side + 40)) - (side + 40) / 2);
            ASSERT_EQ(p.fresh.GetCell(x, y), p.old.GetCell(x, y));
        }
        // Back through the whole history.
        for (;;) {
            const bool ok = p.old.StepBack();
            ASSERT_EQ(p.fresh.StepBack(), ok);
            if (!ok)
                break;
            const Changes back = drain(p.old);
            ASSERT_EQ(drain(p.fresh), back);
            p.apply(back);
        }
        ASSERT_EQ(live(p.fresh), live(p.old));
    }
}

// A lone cell at each corner and edge of a tile, under rules that give birth to a lone cell's
// neighbours: the tiles beyond the corner see it alone.
TEST(DifferentialCornerTest, LoneCellsAtTileCornersAndEdges) {
    for (int n : {3, 4, 6, 8, 12}) {
        for (int32_t base : {0, 64 * 5, INT32_MAX - 63}) {
            for (int32_t dx : {0, 1, 32, 62, 63}) {
                for (int32_t dy : {0, 1, 32, 62, 63}) {
                    SCOPED_TRACE(testing::Message() << n << " neighbours at " << base << " + ("
                                                    << dx << ", " << dy << ")");
                    Pair p;
                    p.fresh.PutNeiCount(static_cast<int16_t>(n));
                    p.old.PutNeiCount(static_cast<int16_t>(n));
                    p.setRule(0b10, 0b10);
                    p.put(wrapped(base, dx), wrapped(base, dy), 1);
                    for (int g = 1; g <= 3; ++g) {
                        p.fresh.Step();
                        p.old.Step();
                        ASSERT_EQ(drain(p.fresh), drain(p.old)) << "generation " << g;
                    }
                }
            }
        }
    }
}

std::vector<Case> cases() {
    std::vector<Case> out;
    for (int n : {3, 4, 6, 8, 12})
        for (auto [x, y] : {std::pair<int32_t, int32_t>{0, 0},
                            {INT32_MAX, INT32_MAX},
                            {INT32_MIN + 37, 5},
                            {-3, INT32_MIN}})
            out.push_back({n, x, y});
    return out;
}

INSTANTIATE_TEST_SUITE_P(EveryLattice, DifferentialTest, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<Case>& info) {
                             return "Neighbours" + std::to_string(info.param.n) + "_At" +
                                    std::to_string(info.index % 4);
                         });

} // namespace
