// Tests of the life engine: rules and tables, the change list and its order, the bounded
// history, enumeration, and every lattice against a small independent reference stepper.

#include "LifeEngine.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Cell = std::pair<int32_t, int32_t>;
using CellSet = std::set<Cell>;
using Changes = std::vector<std::tuple<int32_t, int32_t, int>>;
using Sizes = std::vector<size_t>;

constexpr int32_t kMax = INT32_MAX;
constexpr int32_t kMin = INT32_MIN;

// Coordinates wrap around at the int32 limits.
Cell shifted(Cell c, int dx, int dy) {
    auto add = [](int32_t a, int b) {
        return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
    };
    return {add(c.first, dx), add(c.second, dy)};
}

// The live set by enumeration, which must give each cell once, ascending x then y.
CellSet live(LifeEngine& e) {
    std::vector<Cell> order;
    e.StartIterating();
    int32_t x = 0, y = 0;
    while (e.NextCell(x, y) && order.size() < 1000000)
        order.emplace_back(x, y);
    CellSet s(order.begin(), order.end());
    EXPECT_EQ(s.size(), order.size()) << "a cell was given out twice";
    EXPECT_TRUE(std::equal(order.begin(), order.end(), s.begin())) << "not ascending x then y";
    return s;
}

Changes drain(LifeEngine& e) {
    Changes out;
    int32_t x = 0, y = 0;
    int16_t c = 0;
    while (e.NextChange(x, y, c) && out.size() < 1000000)
        out.emplace_back(x, y, c);
    return out;
}

void applyChanges(LifeEngine& e, const Changes& ch) {
    for (auto [x, y, c] : ch)
        e.PutCell(x, y, c > 0 ? 1 : 0);
}

void put(LifeEngine& e, const CellSet& s) {
    for (auto [x, y] : s)
        e.PutCell(x, y, 1);
}

// A rule as bit masks: bit k of s (b) is survival (birth) entry k.
struct Rule {
    uint32_t s, b;
};

uint32_t bits(std::initializer_list<int> ks) {
    uint32_t m = 0;
    for (int k : ks)
        m |= 1u << k;
    return m;
}

void setRule(LifeEngine& e, Rule r) {
    for (int16_t k = 0; k <= e.GetNeiCount(); ++k) {
        e.PutRuleS(k, (r.s >> k) & 1);
        e.PutRuleB(k, (r.b >> k) & 1);
    }
}

// Neighbour offsets: parity A first, parity B second.
using Offsets = std::vector<std::pair<int, int>>;
// clang-format off
const std::map<int, std::pair<Offsets, Offsets>> kLattices = {
    {4, {{{-1, 0}, {0, 1}, {0, -1}, {1, 0}},
         {{-1, 0}, {0, 1}, {0, -1}, {1, 0}}}},
    {8, {{{-1, 0}, {0, 1}, {0, -1}, {1, 0}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}},
         {{-1, 0}, {0, 1}, {0, -1}, {1, 0}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}}}},
    {6, {{{-1, -1}, {-1, 0}, {0, -1}, {0, 1}, {1, -1}, {1, 0}},
         {{-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, 0}, {1, 1}}}},
    {3, {{{-1, 0}, {1, 0}, {0, -1}},
         {{-1, 0}, {1, 0}, {0, 1}}}},
    {12, {{{-1, 0}, {1, 0}, {0, -1}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}, {-2, 0}, {2, 0}, {0, 1},
           {-2, -1}, {2, -1}},
          {{-1, 0}, {1, 0}, {0, 1}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}, {-2, 0}, {2, 0}, {0, -1},
           {-2, 1}, {2, 1}}}},
};
// clang-format on

// Parity A is an odd column on the hexagonal lattice, an odd x + y on the triangular ones.
const Offsets& offsets(int n, Cell c) {
    const auto& [a, b] = kLattices.at(n);
    const int32_t parity = n == 6 ? c.first : (n == 3 || n == 12) ? c.first ^ c.second : 1;
    return (parity & 1) ? a : b;
}

struct RefStep {
    CellSet next;
    std::vector<Cell> births, deaths; // ascending
};

RefStep refStep(const CellSet& cells, int n, Rule r) {
    RefStep out;
    std::map<Cell, int> tally;
    for (const Cell& p : cells) {
        int k = 0;
        for (auto [dx, dy] : offsets(n, p)) {
            Cell q = shifted(p, dx, dy);
            cells.count(q) ? ++k : ++tally[q];
        }
        if ((r.s >> k) & 1)
            out.next.insert(p);
        else
            out.deaths.push_back(p);
    }
    for (auto [d, c] : tally) {
        if ((r.b >> c) & 1) {
            out.next.insert(d);
            out.births.push_back(d);
        }
    }
    return out;
}

// What NextChange gives after the StepBack over s: the record in the order Step pushed it,
// deaths ascending (now +1) then births ascending (now -1). After the Step itself it is the
// same list reversed, signs flipped.
Changes backOrder(const RefStep& s) {
    Changes out;
    for (const Cell& c : s.deaths)
        out.emplace_back(c.first, c.second, 1);
    for (const Cell& c : s.births)
        out.emplace_back(c.first, c.second, -1);
    return out;
}

Changes stepOrder(const RefStep& s) {
    Changes out = backOrder(s);
    std::reverse(out.begin(), out.end());
    for (auto& ch : out)
        std::get<2>(ch) = -std::get<2>(ch);
    return out;
}

const Rule kLife{bits({2, 3}), bits({3})};
const CellSet kBlinker{{0, 0}, {1, 0}, {2, 0}}; // four changes every Step

// Puts n isolated cells and Steps; under the rule {0, 0} that records exactly n changes.
void stepIsolated(LifeEngine& e, int n) {
    for (int i = 0; i < n; ++i)
        e.PutCell(10 * i, 0, 1);
    e.Step();
}

void steps(LifeEngine& e, int n) {
    for (int i = 0; i < n; ++i)
        e.Step();
}

// The sizes of the records StepBack gives out, newest first, until the history is empty.
Sizes stepBackSizes(LifeEngine& e) {
    Sizes sizes;
    while (sizes.size() < 1000 && e.StepBack())
        sizes.push_back(drain(e).size());
    return sizes;
}

TEST(LifeEngineTest, StartsEmptyAndAStepOnNothingRecordsAnEmptyGeneration) {
    LifeEngine e;
    EXPECT_EQ(e.GetNeiCount(), 8);
    for (int k = 0; k <= 8; ++k) {
        EXPECT_EQ(e.GetRuleS(k), (k == 2 || k == 3) ? 1 : 0) << k;
        EXPECT_EQ(e.GetRuleB(k), k == 3 ? 1 : 0) << k;
    }
    EXPECT_EQ(e.GetHistoryLimit(), 100000);
    EXPECT_TRUE(e.GetEmptyHistory());
    EXPECT_TRUE(live(e).empty());
    EXPECT_TRUE(drain(e).empty());
    EXPECT_FALSE(e.StepBack());

    e.PutRuleB(0, 1); // never consulted: no dead cell is counted zero times
    e.Step();
    EXPECT_TRUE(live(e).empty());
    EXPECT_TRUE(drain(e).empty());
    EXPECT_FALSE(e.GetEmptyHistory());
    EXPECT_EQ(stepBackSizes(e), (Sizes{0}));
    EXPECT_TRUE(e.GetEmptyHistory());
}

TEST(LifeEngineTest, RuleTablesFollowTheNeighbourCount) {
    LifeEngine e;
    e.PutRuleS(2, 7); // any non-zero value stores 1
    EXPECT_EQ(e.GetRuleS(2), 1);
    e.PutRuleB(8, 1); // the last entry is NeiCount itself
    EXPECT_EQ(e.GetRuleB(8), 1);
    {
        LifeEngine lone; // the first entry is 0: a lone cell survives under S0
        setRule(lone, {bits({0}), 0});
        EXPECT_EQ(lone.GetRuleS(0), 1);
        lone.PutCell(4, 4, 1);
        lone.Step();
        EXPECT_EQ(live(lone), (CellSet{{4, 4}}));
    }
    for (int16_t bad : {int16_t{9}, int16_t{-1}, int16_t{100}, int16_t{INT16_MIN}}) {
        e.PutRuleS(bad, 1);
        e.PutRuleB(bad, 1);
        EXPECT_FALSE(e.GetRuleS(bad) || e.GetRuleB(bad)) << bad;
    }

    put(e, kBlinker);
    e.Step();
    e.PutNeiCount(12); // clears both tables
    EXPECT_EQ(e.GetNeiCount(), 12);
    for (int k = 0; k <= 13; ++k)
        EXPECT_FALSE(e.GetRuleS(k) || e.GetRuleB(k)) << k;
    e.PutRuleS(12, 1);
    EXPECT_EQ(e.GetRuleS(12), 1);
    e.PutNeiCount(4);
    e.PutRuleS(5, 1);
    e.PutRuleS(12, 1);
    EXPECT_FALSE(e.GetRuleS(5) || e.GetRuleS(12));
    // Cells, change list and history survive the change of lattice.
    EXPECT_EQ(live(e), (CellSet{{1, -1}, {1, 0}, {1, 1}}));
    EXPECT_EQ(drain(e).size(), 4u);
    EXPECT_EQ(stepBackSizes(e), (Sizes{4}));
}

TEST(LifeEngineTest, ChangeListOrderAfterStepAndStepBack) {
    LifeEngine e;
    // A horizontal blinker and, at (9, 9), a lone cell that dies.
    put(e, {{-1, 0}, {0, 0}, {1, 0}, {9, 9}});
    e.Step();
    EXPECT_EQ(live(e), (CellSet{{0, -1}, {0, 0}, {0, 1}}));
    EXPECT_EQ(drain(e), (Changes{{0, 1, 1}, {0, -1, 1}, {9, 9, -1}, {1, 0, -1}, {-1, 0, -1}}));
    EXPECT_TRUE(drain(e).empty()); // popped entries are gone

    EXPECT_TRUE(e.StepBack());
    // StepBack leaves the live set alone until the caller applies the changes.
    EXPECT_EQ(live(e), (CellSet{{0, -1}, {0, 0}, {0, 1}}));
    Changes back = drain(e);
    EXPECT_EQ(back, (Changes{{-1, 0, 1}, {1, 0, 1}, {9, 9, 1}, {0, -1, -1}, {0, 1, -1}}));
    applyChanges(e, back);
    EXPECT_EQ(live(e), (CellSet{{-1, 0}, {0, 0}, {1, 0}, {9, 9}}));
}

// Only Step and StepBack replace the change list; cell puts leave it and the history alone.
TEST(LifeEngineTest, ChangeListIsReplacedOnlyByStepAndStepBack) {
    LifeEngine e;
    e.PutCell(3, -4, -2); // any non-zero value inserts
    EXPECT_TRUE(e.GetCell(3, -4));
    EXPECT_FALSE(e.GetCell(-4, 3));
    put(e, kBlinker);
    e.Step();
    e.PutCell(1, 0, 1);   // already live
    e.PutCell(50, 50, 0); // already dead
    e.PutCell(7, 7, 1);   // new cell
    e.PutCell(7, 7, 0);   // and gone again
    EXPECT_TRUE(e.GetCell(1, 0));
    EXPECT_FALSE(e.GetCell(50, 50) || e.GetCell(7, 7));
    EXPECT_EQ(drain(e), (Changes{{1, 1, 1}, {1, -1, 1}, {3, -4, -1}, {2, 0, -1}, {0, 0, -1}}));
    int32_t x = 0, y = 0;
    int16_t c = 0;
    ASSERT_TRUE(e.StepBack());
    ASSERT_TRUE(e.NextChange(x, y, c));
    EXPECT_FALSE(e.StepBack()); // a StepBack on an empty history leaves the list as it is
    EXPECT_EQ(drain(e).size(), 4u);

    LifeEngine f;
    put(f, kBlinker);
    f.Step();
    ASSERT_TRUE(f.NextChange(x, y, c));
    f.Step();
    EXPECT_EQ(drain(f).size(), 4u); // the unread list is replaced by the new Step's
    f.Step();
    EXPECT_TRUE(f.StepBack()); // and by the record
    EXPECT_EQ(drain(f).size(), 4u);
}

TEST(LifeEngineTest, HistoryIsBoundedByTheCountOfChanges) {
    LifeEngine e;
    setRule(e, {0, 0});
    e.PutHistoryLimit(6);
    // The count includes the new record: 5, 6, then 9 drops the 5 (4), then 6, then 10
    // drops the 1 and the 3, leaving the records of 2 and 4 changes, dropped whole.
    for (int n : {5, 1, 3, 2, 4})
        stepIsolated(e, n);
    EXPECT_EQ(stepBackSizes(e), (Sizes{4, 2}));

    // StepBack takes its record off the count.
    stepIsolated(e, 3);
    stepIsolated(e, 3);
    ASSERT_TRUE(e.StepBack());
    drain(e);
    stepIsolated(e, 3); // 6, nothing dropped
    EXPECT_EQ(stepBackSizes(e), (Sizes{3, 3}));

    // CleanHistory empties the history, the change list and the count.
    stepIsolated(e, 3);
    stepIsolated(e, 3);
    e.CleanHistory();
    EXPECT_TRUE(e.GetEmptyHistory());
    EXPECT_TRUE(drain(e).empty());
    EXPECT_FALSE(e.StepBack());
    stepIsolated(e, 3);
    stepIsolated(e, 3); // 6, nothing dropped
    EXPECT_EQ(stepBackSizes(e), (Sizes{3, 3}));
}

// A run on a still pattern keeps its history in constant room, and every
// generation of it can still be stepped back.
TEST(LifeEngineTest, UnchangedGenerationsShareOneRecord) {
    for (int32_t limit : {100000, 0}) {
        LifeEngine e;
        e.PutHistoryLimit(limit);
        put(e, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {9, 9}}); // a block, and a cell that dies
        constexpr int kSteps = 200000;
        steps(e, kSteps);
        EXPECT_EQ(e.HistoryRecords(), limit ? 2u : 1u) << limit;
        int back = 0;
        size_t changed = 0;
        while (back <= kSteps && e.StepBack()) {
            ++back;
            changed += drain(e).size();
        }
        // Limit 0 dropped the death when the next step was recorded.
        EXPECT_EQ(back, limit ? kSteps : kSteps - 1) << limit;
        EXPECT_EQ(changed, limit ? 1u : 0u) << limit;
        EXPECT_TRUE(e.GetEmptyHistory());

        // Unchanged steps after stepping back join the record left.
        steps(e, 3);
        ASSERT_TRUE(e.StepBack());
        steps(e, 2);
        EXPECT_EQ(e.HistoryRecords(), 1u);
        EXPECT_EQ(stepBackSizes(e), (Sizes{0, 0, 0, 0}));
    }
}

TEST(LifeEngineTest, HistoryLimitIsAppliedAtTheNextStep) {
    LifeEngine e;
    for (int32_t negative : {-5, kMin}) {
        e.PutHistoryLimit(negative);
        EXPECT_EQ(e.GetHistoryLimit(), 0) << negative;
    }
    put(e, kBlinker);
    steps(e, 3);
    EXPECT_EQ(stepBackSizes(e), (Sizes{4})); // each Step keeps its own record, however large

    // Lowering the limit drops nothing before the next Step.
    for (int extraSteps : {0, 1}) {
        LifeEngine f;
        put(f, kBlinker);
        steps(f, 3);
        f.PutHistoryLimit(1);
        EXPECT_EQ(f.GetHistoryLimit(), 1);
        steps(f, extraSteps);
        EXPECT_EQ(stepBackSizes(f), Sizes(extraSteps ? 1 : 3, 4)) << extraSteps;
    }
}

TEST(LifeEngineTest, BlinkersWrapAroundTheCoordinateLimits) {
    LifeEngine e;
    // Centred on (kMin, 5), reaching back to kMax in x; centred on (7, kMax), reaching
    // forward to kMin in y.
    const CellSet start{{kMax, 5}, {kMin, 5}, {kMin + 1, 5}, {7, kMax - 1}, {7, kMax}, {7, kMin}};
    put(e, start);
    e.Step();
    EXPECT_EQ(live(e), (CellSet{{kMin, 4}, {kMin, 5}, {kMin, 6}, {6, kMax}, {7, kMax}, {8, kMax}}));
    EXPECT_EQ(drain(e), (Changes{{8, kMax, 1},
                                 {6, kMax, 1},
                                 {kMin, 6, 1},
                                 {kMin, 4, 1},
                                 {kMax, 5, -1},
                                 {7, kMax - 1, -1},
                                 {7, kMin, -1},
                                 {kMin + 1, 5, -1}}));
    e.Step();
    EXPECT_EQ(live(e), start);
}

// On the lattices whose neighbours depend on a cell's parity, a pattern across
// the coordinate limits steps as the same pattern moved by an even offset.
TEST(LifeEngineTest, ParityLatticesStepTheSameAcrossTheLimits) {
    const CellSet shape{{0, 0}, {1, 0}, {1, 1}, {2, 1}, {0, 2}, {3, 2}, {2, 3}};
    const std::map<int, Rule> rules{{6, {bits({1, 2}), bits({2})}},
                                    {3, {bits({1}), bits({1, 2})}},
                                    {12, {bits({2, 3}), bits({2, 3})}}};
    for (const auto& [n, rule] : rules) {
        for (Cell far : {Cell{kMax - 1, kMax - 1}, Cell{kMin, kMax - 1}, Cell{kMax - 1, kMin}}) {
            LifeEngine near, across;
            for (LifeEngine* e : {&near, &across}) {
                e->PutNeiCount(static_cast<int16_t>(n));
                setRule(*e, rule);
            }
            // (10, 10) and far are both even in x and y, so parities match.
            for (Cell c : shape) {
                near.PutCell(c.first + 10, c.second + 10, 1);
                const Cell a = shifted(far, c.first, c.second);
                across.PutCell(a.first, a.second, 1);
            }
            for (int g = 1; g <= 4; ++g) {
                near.Step();
                across.Step();
                CellSet moved;
                for (Cell c : live(near))
                    moved.insert(shifted(far, c.first - 10, c.second - 10));
                ASSERT_EQ(live(across), moved) << n << " neighbours, generation " << g;
            }
        }
    }
}

TEST(LifeEngineTest, EnumerationStatesAndRestart) {
    LifeEngine e;
    int32_t x = 0, y = 0;
    EXPECT_FALSE(e.NextCell(x, y)); // none started
    e.StartIterating();
    EXPECT_FALSE(e.NextCell(x, y)); // empty live set

    put(e, {{2, 1}, {-1, 4}, {-1, -4}, {kMin, kMax}, {kMax, kMin}});
    e.StartIterating();
    ASSERT_TRUE(e.NextCell(x, y));
    EXPECT_EQ(Cell(x, y), Cell(kMin, kMax));
    ASSERT_TRUE(e.NextCell(x, y));
    EXPECT_EQ(Cell(x, y), Cell(-1, -4));
    e.StartIterating(); // restarts from the smallest cell
    std::vector<Cell> got;
    while (e.NextCell(x, y))
        got.emplace_back(x, y);
    EXPECT_EQ(got, (std::vector<Cell>{{kMin, kMax}, {-1, -4}, {-1, 4}, {2, 1}, {kMax, kMin}}));
    EXPECT_FALSE(e.NextCell(x, y)); // finished stays finished

    e.StartIterating();
    ASSERT_TRUE(e.NextCell(x, y));
    e.Step(); // ends the enumeration
    EXPECT_FALSE(e.NextCell(x, y));
}

TEST(LifeEngineTest, RemovingTheCellJustGivenOutKeepsTheEnumerationWhole) {
    std::mt19937 rng(12345);
    CellSet cells{{kMin, 0}, {kMax, kMax}};
    for (int32_t x = -40; x < 40; ++x) {
        // Some columns empty, some single, some deep enough for rotations.
        int perColumn = static_cast<int>(x % 7 == 0 ? 60 : rng() % 6);
        for (int i = 0; i < perColumn; ++i)
            cells.insert({x, static_cast<int32_t>(rng() % 121) - 60});
    }
    // 0: remove every cell; 1: every other one; 2: the last of each column; 3: at random.
    for (int mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(mode);
        LifeEngine e;
        put(e, cells);
        CellSet kept = cells;
        std::vector<Cell> got;
        e.StartIterating();
        int32_t x = 0, y = 0;
        while (e.NextCell(x, y) && got.size() <= cells.size()) {
            got.emplace_back(x, y);
            auto next = cells.upper_bound({x, y});
            bool lastOfColumn = next == cells.end() || next->first != x;
            if (mode == 0 || (mode == 1 && got.size() % 2 == 0) || (mode == 2 && lastOfColumn) ||
                (mode == 3 && rng() % 3 == 0)) {
                e.PutCell(x, y, 0);
                kept.erase({x, y});
            }
        }
        EXPECT_TRUE(std::equal(got.begin(), got.end(), cells.begin(), cells.end()));
        EXPECT_EQ(live(e), kept);
    }
}

// Every lattice against the reference stepper, on soups around the origin and straddling
// the coordinate limits, for hand-picked and random rules.
class LatticeTest : public testing::TestWithParam<int> {};

TEST_P(LatticeTest, MatchesReferenceStepperForwardAndBack) {
    const int n = GetParam();
    const std::map<int, std::vector<Rule>> picked = {
        {3, {{bits({1, 2}), bits({1})}, {bits({0, 1, 3}), bits({2, 3})}}},
        {4, {{bits({1, 3}), bits({1, 3})}, {bits({2, 3}), bits({2})}}},
        {6, {{bits({3, 4}), bits({2})}, {bits({2}), bits({2, 4})}}},
        {8, {kLife, {bits({2, 3}), bits({3, 6})}, {0, bits({2})}}},
        {12, {{bits({3, 4}), bits({4, 5})}, {bits({2, 3}), bits({3})}}},
    };
    std::mt19937 rng(static_cast<unsigned>(n) * 7919u);
    std::vector<Rule> rules = picked.at(n);
    const uint32_t mask = (1u << (n + 1)) - 1;
    for (int i = 0; i < 2; ++i)
        rules.push_back({static_cast<uint32_t>(rng()) & mask, static_cast<uint32_t>(rng()) & mask});
    for (Rule rule : rules) {
        for (Cell origin :
             {Cell{-6, -7}, Cell{kMax - 5, kMax - 6}, Cell{-5, kMax - 5}, Cell{kMax - 6, 3}}) {
            SCOPED_TRACE(testing::Message() << "S mask " << rule.s << " B mask " << rule.b
                                            << " origin " << origin.first << "," << origin.second);
            // A dense block at the origin, a sparse patch beside it, a far block in its columns.
            CellSet cells;
            auto soup = [&](int dx, int dy, int size, unsigned percent) {
                for (int i = 0; i < size * size; ++i) {
                    if (rng() % 100 < percent)
                        cells.insert(shifted(origin, dx + i / size, dy + i % size));
                }
            };
            soup(0, 0, 12, 40);
            soup(15, -20, 20, 12);
            soup(2, 1000, 5, 60);
            LifeEngine e;
            e.PutNeiCount(static_cast<int16_t>(n));
            setRule(e, rule);
            put(e, cells);
            std::vector<CellSet> generations{cells};
            std::vector<RefStep> refs;
            // 20 generations; growing rules stop early, to keep the run short.
            for (int g = 1; g <= 20 && generations.back().size() < 1500; ++g) {
                refs.push_back(refStep(generations.back(), n, rule));
                generations.push_back(refs.back().next);
                e.Step();
                ASSERT_EQ(drain(e), stepOrder(refs.back())) << "generation " << g;
                ASSERT_EQ(live(e), generations.back()) << "generation " << g;
            }
            for (size_t g = refs.size(); g-- > 0;) {
                ASSERT_TRUE(e.StepBack());
                Changes back = drain(e);
                ASSERT_EQ(back, backOrder(refs[g])) << "back to generation " << g;
                applyChanges(e, back);
                ASSERT_EQ(live(e), generations[g]) << "back to generation " << g;
            }
            EXPECT_FALSE(e.StepBack());
            EXPECT_TRUE(e.GetEmptyHistory());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllLattices, LatticeTest, testing::Values(3, 4, 6, 8, 12),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Neighbours" + std::to_string(info.param);
                         });

} // namespace
