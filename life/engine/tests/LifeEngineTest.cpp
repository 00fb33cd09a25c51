// Tests of the life engine: rules and tables, the change list and its order,
// the bounded history, enumeration, and every lattice against a small
// independent reference stepper.

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
using Change = std::tuple<int32_t, int32_t, int>;
using Changes = std::vector<Change>;

constexpr int32_t kMax = INT32_MAX;
constexpr int32_t kMin = INT32_MIN;

int32_t wrap(int32_t a, int b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

Cell shifted(Cell c, int dx, int dy) {
    return {wrap(c.first, dx), wrap(c.second, dy)};
}

CellSet shifted(const CellSet& s, int dx, int dy) {
    CellSet out;
    for (Cell c : s) {
        out.insert(shifted(c, dx, dy));
    }
    return out;
}

CellSet live(LifeEngine& e) {
    CellSet s;
    std::vector<Cell> order;
    e.StartIterating();
    int32_t x = 0, y = 0;
    while (e.NextCell(x, y) && order.size() < 1000000) {
        order.emplace_back(x, y);
    }
    s.insert(order.begin(), order.end());
    EXPECT_EQ(s.size(), order.size()) << "a cell was given out twice";
    EXPECT_TRUE(std::equal(order.begin(), order.end(), s.begin())) << "not ascending x then y";
    return s;
}

Changes drain(LifeEngine& e) {
    Changes out;
    int32_t x = 0, y = 0;
    int16_t c = 0;
    while (e.NextChange(x, y, c) && out.size() < 1000000) {
        out.emplace_back(x, y, c);
    }
    return out;
}

void applyChanges(LifeEngine& e, const Changes& ch) {
    for (auto [x, y, c] : ch) {
        e.PutCell(x, y, c > 0 ? 1 : 0);
    }
}

void put(LifeEngine& e, const CellSet& s) {
    for (auto [x, y] : s) {
        e.PutCell(x, y, 1);
    }
}

// A rule as bit masks: bit k of s (b) is survival (birth) entry k.
struct Rule {
    uint32_t s;
    uint32_t b;
};

uint32_t bits(std::initializer_list<int> ks) {
    uint32_t m = 0;
    for (int k : ks) {
        m |= 1u << k;
    }
    return m;
}

void setRule(LifeEngine& e, Rule r) {
    for (int k = 0; k <= e.GetNeiCount(); ++k) {
        e.PutRuleS(static_cast<int16_t>(k), (r.s >> k) & 1);
        e.PutRuleB(static_cast<int16_t>(k), (r.b >> k) & 1);
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

const Offsets& offsets(int n, Cell c) {
    const auto& ab = kLattices.at(n);
    bool a = false;
    if (n == 6) {
        a = (c.first & 1) != 0;
    } else if (n == 3 || n == 12) {
        a = ((c.first ^ c.second) & 1) != 0;
    } else {
        a = true;
    }
    return a ? ab.first : ab.second;
}

struct RefStep {
    CellSet next;
    std::vector<Cell> births; // ascending
    std::vector<Cell> deaths; // ascending
};

RefStep refStep(const CellSet& cells, int n, Rule r) {
    RefStep out;
    std::map<Cell, int> tally;
    for (const Cell& p : cells) {
        int k = 0;
        for (auto [dx, dy] : offsets(n, p)) {
            Cell q = shifted(p, dx, dy);
            if (cells.count(q)) {
                ++k;
            } else {
                ++tally[q];
            }
        }
        if ((r.s >> k) & 1) {
            out.next.insert(p);
        } else {
            out.deaths.push_back(p);
        }
    }
    for (auto [d, c] : tally) {
        if ((r.b >> c) & 1) {
            out.next.insert(d);
            out.births.push_back(d);
        }
    }
    return out;
}

// What NextChange gives after a Step: births descending, then deaths descending.
Changes stepOrder(const RefStep& s) {
    Changes out;
    for (auto it = s.births.rbegin(); it != s.births.rend(); ++it) {
        out.emplace_back(it->first, it->second, 1);
    }
    for (auto it = s.deaths.rbegin(); it != s.deaths.rend(); ++it) {
        out.emplace_back(it->first, it->second, -1);
    }
    return out;
}

// What NextChange gives after the StepBack over that Step: the record's entries in
// the order Step pushed them, i.e. the deaths ascending (now +1) then the births
// ascending (now -1).
Changes backOrder(const RefStep& s) {
    Changes out;
    for (const Cell& c : s.deaths) {
        out.emplace_back(c.first, c.second, 1);
    }
    for (const Cell& c : s.births) {
        out.emplace_back(c.first, c.second, -1);
    }
    return out;
}

const Rule kLife{bits({2, 3}), bits({3})};
const Rule kAllDie{0, 0}; // every live cell dies, nothing is born

// Puts n isolated cells at row y; under kAllDie the next Step records exactly n changes.
void putIsolated(LifeEngine& e, int n, int32_t y) {
    for (int i = 0; i < n; ++i) {
        e.PutCell(10 * i, y, 1);
    }
}

int stepBacksPossible(LifeEngine& e, std::vector<size_t>* sizes = nullptr) {
    int n = 0;
    while (e.StepBack() && n < 1000) {
        size_t len = drain(e).size();
        if (sizes) {
            sizes->push_back(len);
        }
        ++n;
    }
    return n;
}

TEST(LifeEngineTest, StartsEmptyWithLifeRuleOnEightNeighbours) {
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
}

TEST(LifeEngineTest, RuleTablesFollowTheNeighbourCount) {
    LifeEngine e;
    e.PutRuleS(2, 7); // any non-zero value stores 1
    EXPECT_EQ(e.GetRuleS(2), 1);
    for (int16_t bad : {int16_t{9}, int16_t{-1}, int16_t{100}, int16_t{INT16_MIN}}) {
        e.PutRuleS(bad, 1);
        e.PutRuleB(bad, 1);
        EXPECT_EQ(e.GetRuleS(bad), 0) << bad;
        EXPECT_EQ(e.GetRuleB(bad), 0) << bad;
    }
    e.PutRuleB(8, 1); // the last entry is NeiCount itself
    EXPECT_EQ(e.GetRuleB(8), 1);

    put(e, {{0, 0}, {1, 0}, {2, 0}});
    e.Step();
    e.PutNeiCount(12);
    EXPECT_EQ(e.GetNeiCount(), 12);
    for (int k = 0; k <= 13; ++k) {
        EXPECT_EQ(e.GetRuleS(k), 0) << k;
        EXPECT_EQ(e.GetRuleB(k), 0) << k;
    }
    e.PutRuleS(12, 1);
    EXPECT_EQ(e.GetRuleS(12), 1);
    e.PutNeiCount(4);
    e.PutRuleS(5, 1);
    e.PutRuleS(12, 1);
    EXPECT_EQ(e.GetRuleS(5), 0);
    EXPECT_EQ(e.GetRuleS(12), 0);
    // Cells, change list and history survive the change of lattice.
    EXPECT_EQ(live(e), (CellSet{{1, -1}, {1, 0}, {1, 1}}));
    EXPECT_EQ(drain(e).size(), 4u);
    EXPECT_TRUE(e.StepBack());
    EXPECT_EQ(drain(e).size(), 4u);
}

TEST(LifeEngineTest, StepOnNothingRecordsAnEmptyGeneration) {
    LifeEngine e;
    e.PutRuleB(0, 1); // never consulted: no dead cell is counted zero times
    e.Step();
    EXPECT_TRUE(live(e).empty());
    EXPECT_TRUE(drain(e).empty());
    EXPECT_FALSE(e.GetEmptyHistory());
    EXPECT_TRUE(e.StepBack());
    EXPECT_TRUE(drain(e).empty());
    EXPECT_TRUE(e.GetEmptyHistory());
    EXPECT_FALSE(e.StepBack());

    e.PutCell(-5, 3, 1);
    e.Step();
    EXPECT_TRUE(live(e).empty());
    EXPECT_EQ(drain(e), (Changes{{-5, 3, -1}}));
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

TEST(LifeEngineTest, StepAndStepBackReplaceAnUnreadChangeList) {
    LifeEngine e;
    put(e, {{0, 0}, {1, 0}, {2, 0}});
    e.Step();
    int32_t x = 0, y = 0;
    int16_t c = 0;
    ASSERT_TRUE(e.NextChange(x, y, c));
    e.Step();
    EXPECT_EQ(drain(e).size(), 4u);
    e.Step();
    EXPECT_TRUE(e.StepBack()); // the unread Step list is replaced by the record
    EXPECT_EQ(drain(e).size(), 4u);

    // A StepBack on an empty history leaves the change list as it is.
    LifeEngine f;
    put(f, {{0, 0}, {1, 0}, {2, 0}});
    f.Step();
    ASSERT_TRUE(f.StepBack());
    ASSERT_TRUE(f.NextChange(x, y, c));
    EXPECT_FALSE(f.StepBack());
    EXPECT_EQ(drain(f).size(), 3u);
}

TEST(LifeEngineTest, CellPutsAreSilent) {
    LifeEngine e;
    e.PutCell(3, -4, -2); // any non-zero value inserts
    EXPECT_TRUE(e.GetCell(3, -4));
    EXPECT_FALSE(e.GetCell(-4, 3));
    put(e, {{0, 0}, {1, 0}, {2, 0}});
    e.Step();
    e.PutCell(1, 0, 1);   // already live
    e.PutCell(50, 50, 0); // already dead
    e.PutCell(7, 7, 1);   // new cell
    e.PutCell(7, 7, 0);   // and gone again
    EXPECT_TRUE(e.GetCell(1, 0));
    EXPECT_FALSE(e.GetCell(50, 50));
    EXPECT_FALSE(e.GetCell(7, 7));
    EXPECT_EQ(drain(e), (Changes{{1, 1, 1}, {1, -1, 1}, {3, -4, -1}, {2, 0, -1}, {0, 0, -1}}));
    EXPECT_TRUE(e.StepBack());
    EXPECT_EQ(drain(e).size(), 5u);
    EXPECT_FALSE(e.StepBack());
}

TEST(LifeEngineTest, HistoryDropsOldestRecordsWholeByCountOfChanges) {
    LifeEngine e;
    setRule(e, kAllDie);
    e.PutHistoryLimit(6);
    // The count includes the new record: 5, 6, then 9 drops the 5 (4), then 6, then 10
    // drops the 1 and the 3, leaving the records of 2 and 4 changes.
    for (int n : {5, 1, 3, 2, 4}) {
        putIsolated(e, n, 0);
        e.Step();
    }
    std::vector<size_t> sizes;
    EXPECT_EQ(stepBacksPossible(e, &sizes), 2);
    EXPECT_EQ(sizes, (std::vector<size_t>{4, 2}));
}

TEST(LifeEngineTest, HistoryCountFollowsStepBackAndCleanHistory) {
    LifeEngine e;
    setRule(e, kAllDie);
    e.PutHistoryLimit(6);
    putIsolated(e, 3, 0);
    e.Step();
    putIsolated(e, 3, 0);
    e.Step();
    ASSERT_TRUE(e.StepBack()); // count back to 3
    drain(e);
    putIsolated(e, 3, 0);
    e.Step(); // 6, nothing dropped
    EXPECT_EQ(stepBacksPossible(e), 2);

    putIsolated(e, 3, 0);
    e.Step();
    putIsolated(e, 3, 0);
    e.Step();
    e.CleanHistory();
    EXPECT_TRUE(e.GetEmptyHistory());
    EXPECT_TRUE(drain(e).empty());
    EXPECT_FALSE(e.StepBack());
    putIsolated(e, 3, 0);
    e.Step();
    putIsolated(e, 3, 0);
    e.Step(); // count restarted from 0: 6, nothing dropped
    EXPECT_EQ(stepBacksPossible(e), 2);
}

TEST(LifeEngineTest, HistoryLimitIsAppliedAtTheNextStep) {
    LifeEngine e;
    e.PutHistoryLimit(-5);
    EXPECT_EQ(e.GetHistoryLimit(), 0);
    e.PutHistoryLimit(kMin);
    EXPECT_EQ(e.GetHistoryLimit(), 0);

    // Limit 0: each Step keeps only its own record, however large.
    put(e, {{0, 0}, {1, 0}, {2, 0}});
    for (int i = 0; i < 3; ++i) {
        e.Step();
    }
    std::vector<size_t> sizes;
    EXPECT_EQ(stepBacksPossible(e, &sizes), 1);
    EXPECT_EQ(sizes, (std::vector<size_t>{4}));

    // Lowering the limit drops nothing before the next Step.
    auto threeGenerations = [](LifeEngine& f) {
        put(f, {{0, 0}, {1, 0}, {2, 0}});
        for (int i = 0; i < 3; ++i) {
            f.Step();
        }
        f.PutHistoryLimit(1);
        EXPECT_EQ(f.GetHistoryLimit(), 1);
    };
    LifeEngine f;
    threeGenerations(f);
    EXPECT_EQ(stepBacksPossible(f), 3);
    LifeEngine g;
    threeGenerations(g);
    g.Step();
    EXPECT_EQ(stepBacksPossible(g), 1);
}

TEST(LifeEngineTest, BlinkersWrapAroundTheCoordinateLimits) {
    LifeEngine e;
    // Centred on (kMin, 5), reaching back to kMax in x.
    put(e, {{kMax, 5}, {kMin, 5}, {kMin + 1, 5}});
    // Centred on (7, kMax), reaching forward to kMin in y.
    put(e, {{7, kMax - 1}, {7, kMax}, {7, kMin}});
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
    EXPECT_EQ(live(e),
              (CellSet{{kMax, 5}, {kMin, 5}, {kMin + 1, 5}, {7, kMax - 1}, {7, kMax}, {7, kMin}}));
}

TEST(LifeEngineTest, GliderTravelsDiagonallyAndStepsBack) {
    const CellSet shape{{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
    for (Cell origin : {Cell{-3, -3}, Cell{kMax - 2, kMax - 2}}) {
        SCOPED_TRACE(testing::Message() << "origin " << origin.first << "," << origin.second);
        const CellSet start = shifted(shape, origin.first, origin.second);
        LifeEngine e;
        put(e, start);
        for (int g = 1; g <= 8; ++g) {
            e.Step();
            if (g % 4 == 0) {
                EXPECT_EQ(live(e), shifted(start, g / 4, g / 4)) << "generation " << g;
            }
        }
        for (int g = 7; g >= 0; --g) {
            ASSERT_TRUE(e.StepBack());
            applyChanges(e, drain(e));
            if (g % 4 == 0) {
                EXPECT_EQ(live(e), shifted(start, g / 4, g / 4)) << "back to generation " << g;
            }
        }
        EXPECT_TRUE(e.GetEmptyHistory());
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
    while (e.NextCell(x, y)) {
        got.emplace_back(x, y);
    }
    EXPECT_EQ(got, (std::vector<Cell>{{kMin, kMax}, {-1, -4}, {-1, 4}, {2, 1}, {kMax, kMin}}));
    EXPECT_FALSE(e.NextCell(x, y)); // finished stays finished
    EXPECT_FALSE(e.NextCell(x, y));

    e.StartIterating();
    ASSERT_TRUE(e.NextCell(x, y));
    e.Step(); // ends the enumeration
    EXPECT_FALSE(e.NextCell(x, y));
}

TEST(LifeEngineTest, RemovingTheCellJustGivenOutKeepsTheEnumerationWhole) {
    std::mt19937 rng(12345);
    CellSet cells;
    for (int32_t x = -40; x < 40; ++x) {
        // Some columns empty, some single, some deep enough for rotations.
        int perColumn = static_cast<int>(x % 7 == 0 ? 60 : rng() % 6);
        for (int i = 0; i < perColumn; ++i) {
            cells.insert({x, static_cast<int32_t>(rng() % 121) - 60});
        }
    }
    cells.insert({kMin, 0});
    cells.insert({kMax, kMax});
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
            auto found = cells.find({x, y});
            if (found == cells.end()) {
                ADD_FAILURE() << "unknown cell " << x << "," << y;
                break;
            }
            auto next = std::next(found);
            bool lastOfColumn = next == cells.end() || next->first != x;
            bool remove = mode == 0 || (mode == 1 && got.size() % 2 == 0) ||
                          (mode == 2 && lastOfColumn) || (mode == 3 && rng() % 3 == 0);
            if (remove) {
                e.PutCell(x, y, 0);
                kept.erase({x, y});
            }
        }
        EXPECT_TRUE(std::equal(got.begin(), got.end(), cells.begin(), cells.end()));
        EXPECT_EQ(live(e), kept);
    }
}

// Every lattice against the reference stepper, on soups around the origin and
// straddling the coordinate limits, for hand-picked and random rules.
class LatticeTest : public testing::TestWithParam<int> {};

TEST_P(LatticeTest, MatchesReferenceStepperForwardAndBack) {
    const int n = GetParam();
    const int kGenerations = 20;
    const std::map<int, std::vector<Rule>> picked = {
        {3, {{bits({1, 2}), bits({1})}, {bits({0, 1, 3}), bits({2, 3})}}},
        {4, {{bits({1, 3}), bits({1, 3})}, {bits({2, 3}), bits({2})}}},
        {6, {{bits({3, 4}), bits({2})}, {bits({2}), bits({2, 4})}}},
        {8, {kLife, {bits({2, 3}), bits({3, 6})}, {0, bits({2})}}},
        {12, {{bits({3, 4}), bits({4, 5})}, {bits({2, 3}), bits({3})}}},
    };
    std::mt19937 rng(static_cast<unsigned>(n) * 7919u);
    std::vector<Rule> rules = picked.at(n);
    for (int i = 0; i < 2; ++i) {
        uint32_t mask = (1u << (n + 1)) - 1;
        rules.push_back({static_cast<uint32_t>(rng()) & mask, static_cast<uint32_t>(rng()) & mask});
    }
    const std::vector<Cell> origins = {
        {-6, -7}, {kMax - 5, kMax - 6}, {-5, kMax - 5}, {kMax - 6, 3}};
    for (Rule rule : rules) {
        for (Cell origin : origins) {
            SCOPED_TRACE(testing::Message() << "S mask " << rule.s << " B mask " << rule.b
                                            << " origin " << origin.first << "," << origin.second);
            // A dense block at the origin, a sparse patch beside it, a far block in its columns.
            CellSet cells;
            auto soup = [&](int dx, int dy, int size, unsigned percent) {
                for (int i = 0; i < size; ++i) {
                    for (int j = 0; j < size; ++j) {
                        if (rng() % 100 < percent) {
                            cells.insert(shifted(origin, dx + i, dy + j));
                        }
                    }
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
            std::vector<RefStep> steps;
            // Growing rules stop early, to keep the run short.
            for (int g = 0; g < kGenerations && generations.back().size() < 1500; ++g) {
                steps.push_back(refStep(generations.back(), n, rule));
                e.Step();
                ASSERT_EQ(drain(e), stepOrder(steps.back())) << "generation " << g + 1;
                generations.push_back(steps.back().next);
                ASSERT_EQ(live(e), generations.back()) << "generation " << g + 1;
            }
            for (size_t g = steps.size(); g > 0; --g) {
                ASSERT_TRUE(e.StepBack());
                Changes back = drain(e);
                ASSERT_EQ(back, backOrder(steps[g - 1])) << "back to generation " << g - 1;
                applyChanges(e, back);
                ASSERT_EQ(live(e), generations[g - 1]) << "back to generation " << g - 1;
            }
            EXPECT_FALSE(e.StepBack());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllLattices, LatticeTest, testing::Values(3, 4, 6, 8, 12),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Neighbours" + std::to_string(info.param);
                         });

} // namespace
