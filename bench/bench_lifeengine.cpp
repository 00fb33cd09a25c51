// Step of LifeEngine against a plain sparse stepper (neighbour counts in a
// std::unordered_map, change list sorted afterwards) and against the column-sweep
// engine it replaced (SweepEngine), on random soups; and LifeEngine against the
// QuickLife algorithm of Golly's bgolly on three long runs.
//
// Workload: a soup of 447 x 447 cells, each live with probability 1/2 (about
// 100,000 live cells). One benchmark iteration starts from the fresh soup (set
// up outside the timing) and times kGenerations steps, so engine and baseline
// step exactly the same generations. Before timing, both are stepped through
// those generations and their change lists must agree entry by entry.
//
// Lattices and rules: square, 8 neighbours, survival {2,3}, birth {3};
// hexagonal, 6 neighbours, survival {3,4}, birth {2}; triangular, 12
// neighbours, survival {3,4,5}, birth {4}. The last two keep such a soup
// going for hundreds of generations without filling the plane.
//
// Against QuickLife (B3/S23): a 2000 x 2000 soup at density 1/2 for 500
// generations, the R-pentomino for 1103 generations and the Gosper glider gun
// for 10000 generations. Each run is timed from a fresh start, the best of a
// few; bgolly's time is that of its whole process less that of a run of 0
// generations (its start-up and reading the pattern), the best of a few, and
// its final population must be the engine's. Reported: both times, their
// ratio, nanoseconds per live cell per generation (Step only), the time with
// every change read back by NextChange, and the bytes the history takes per
// stored change at the end of the run. Without bgolly on the PATH
// ("apt-get install golly") the QuickLife figures are left out.

#include "BenchMain.h"
#include "LifeEngine.h"
#include "SweepEngine.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

constexpr int kSoupSide = 447;
constexpr int kGenerations = 8;

struct Offset {
    int dx;
    int dy;
};

struct LatticeCase {
    const char* name;
    int16_t neiCount;
    std::vector<int> survival;
    std::vector<int> birth;
    // Neighbour offsets for parity A and B, as the engine documents them.
    std::vector<Offset> a;
    std::vector<Offset> b;
    std::vector<size_t> liveBefore; // live cells before each measured generation
};

std::vector<LatticeCase>& Cases() {
    static std::vector<LatticeCase> cases = {
        {"square8_S23_B3",
         8,
         {2, 3},
         {3},
         {{-1, 0}, {0, 1}, {0, -1}, {1, 0}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}},
         {{-1, 0}, {0, 1}, {0, -1}, {1, 0}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}},
         {}},
        {"hex6_S34_B2",
         6,
         {3, 4},
         {2},
         {{-1, -1}, {-1, 0}, {0, -1}, {0, 1}, {1, -1}, {1, 0}},
         {{-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, 0}, {1, 1}},
         {}},
        {"tri12_S345_B4",
         12,
         {3, 4, 5},
         {4},
         {{-1, 0},
          {1, 0},
          {0, -1},
          {-1, -1},
          {-1, 1},
          {1, -1},
          {1, 1},
          {-2, 0},
          {2, 0},
          {0, 1},
          {-2, -1},
          {2, -1}},
         {{-1, 0},
          {1, 0},
          {0, 1},
          {-1, -1},
          {-1, 1},
          {1, -1},
          {1, 1},
          {-2, 0},
          {2, 0},
          {0, -1},
          {-2, 1},
          {2, 1}},
         {}},
    };
    return cases;
}

const std::vector<std::pair<int32_t, int32_t>>& Soup() {
    static const std::vector<std::pair<int32_t, int32_t>> soup = [] {
        std::vector<std::pair<int32_t, int32_t>> cells;
        std::mt19937 rng(20240613);
        for (int32_t x = -kSoupSide / 2; x < kSoupSide - kSoupSide / 2; ++x) {
            for (int32_t y = -kSoupSide / 2; y < kSoupSide - kSoupSide / 2; ++y) {
                if ((rng() & 1) != 0) {
                    cells.emplace_back(x, y);
                }
            }
        }
        return cells;
    }();
    return soup;
}

template <typename Engine = LifeEngine> std::unique_ptr<Engine> MakeEngine(const LatticeCase& c) {
    auto engine = std::make_unique<Engine>();
    engine->PutNeiCount(c.neiCount);
    for (int k : c.survival) {
        engine->PutRuleS(static_cast<int16_t>(k), 1);
    }
    for (int k : c.birth) {
        engine->PutRuleB(static_cast<int16_t>(k), 1);
    }
    for (const auto& [x, y] : Soup()) {
        engine->PutCell(x, y, 1);
    }
    return engine;
}

// The baseline: live cells in a hash set, neighbour counts in a hash map,
// deaths and births sorted into the engine's order at the end.
class BaselineStepper {
public:
    explicit BaselineStepper(const LatticeCase& c) : c_(c) {
        survival_.assign(static_cast<size_t>(c.neiCount) + 1, 0);
        birth_.assign(static_cast<size_t>(c.neiCount) + 1, 0);
        for (int k : c.survival) {
            survival_[static_cast<size_t>(k)] = 1;
        }
        for (int k : c.birth) {
            birth_[static_cast<size_t>(k)] = 1;
        }
        for (const auto& [x, y] : Soup()) {
            live_.insert(Key(x, y));
        }
    }

    size_t Size() const { return live_.size(); }

    void Step(std::vector<CellChange>& changes) {
        counts_.clear();
        for (uint64_t cell : live_) {
            const int32_t x = X(cell);
            const int32_t y = Y(cell);
            for (const Offset& o : UsesA(x, y) ? c_.a : c_.b) {
                ++counts_[Key(Wrap(x, o.dx), Wrap(y, o.dy))];
            }
        }
        deaths_.clear();
        births_.clear();
        for (uint64_t cell : live_) {
            auto it = counts_.find(cell);
            if (survival_[it == counts_.end() ? 0 : static_cast<size_t>(it->second)] == 0) {
                deaths_.push_back(Ordered(cell));
            }
        }
        for (const auto& [cell, count] : counts_) {
            if (birth_[static_cast<size_t>(count)] != 0 && live_.count(cell) == 0) {
                births_.push_back(Ordered(cell));
            }
        }
        std::sort(deaths_.begin(), deaths_.end());
        std::sort(births_.begin(), births_.end());
        changes.clear();
        for (uint64_t o : deaths_) {
            uint64_t cell = Unordered(o);
            live_.erase(cell);
            changes.push_back(CellChange{X(cell), Y(cell), -1});
        }
        for (uint64_t o : births_) {
            uint64_t cell = Unordered(o);
            live_.insert(cell);
            changes.push_back(CellChange{X(cell), Y(cell), +1});
        }
    }

private:
    static constexpr uint64_t kSigns = 0x8000000080000000ull;

    static uint64_t Key(int32_t x, int32_t y) {
        return (uint64_t{static_cast<uint32_t>(x)} << 32) | static_cast<uint32_t>(y);
    }
    static int32_t X(uint64_t key) { return static_cast<int32_t>(key >> 32); }
    static int32_t Y(uint64_t key) { return static_cast<int32_t>(key & 0xFFFFFFFFu); }
    // Flipping the sign bits turns signed (x, y) order into unsigned key order.
    static uint64_t Ordered(uint64_t key) { return key ^ kSigns; }
    static uint64_t Unordered(uint64_t key) { return key ^ kSigns; }
    static int32_t Wrap(int32_t v, int d) {
        return static_cast<int32_t>(static_cast<uint32_t>(v) + static_cast<uint32_t>(d));
    }
    bool UsesA(int32_t x, int32_t y) const {
        if (c_.neiCount == 6) {
            return (x & 1) != 0;
        }
        if (c_.neiCount == 3 || c_.neiCount == 12) {
            return ((x ^ y) & 1) != 0;
        }
        return true;
    }

    const LatticeCase& c_;
    std::vector<uint8_t> survival_;
    std::vector<uint8_t> birth_;
    std::unordered_set<uint64_t> live_;
    std::unordered_map<uint64_t, int> counts_;
    std::vector<uint64_t> deaths_;
    std::vector<uint64_t> births_;
};

// Steps both through the measured generations; their change lists must be
// the same, entry by entry, in the order NextChange gives them out.
bool Verify(LatticeCase& c) {
    auto engine = MakeEngine(c);
    BaselineStepper baseline(c);
    std::vector<CellChange> expected;
    c.liveBefore.clear();
    for (int g = 0; g < kGenerations; ++g) {
        c.liveBefore.push_back(baseline.Size());
        engine->Step();
        baseline.Step(expected);
        size_t i = expected.size();
        CellChange got{};
        while (engine->NextChange(got.x, got.y, got.change)) {
            if (i == 0) {
                std::fprintf(stderr, "%s: generation %d: engine gives more changes\n", c.name, g);
                return false;
            }
            const CellChange& want = expected[--i];
            if (got.x != want.x || got.y != want.y || got.change != want.change) {
                std::fprintf(stderr, "%s: generation %d: change %zu differs\n", c.name, g, i);
                return false;
            }
        }
        if (i != 0) {
            std::fprintf(stderr, "%s: generation %d: engine gives fewer changes\n", c.name, g);
            return false;
        }
    }
    size_t live = 0;
    int32_t x = 0;
    int32_t y = 0;
    for (engine->StartIterating(); engine->NextCell(x, y);) {
        ++live;
    }
    if (live != baseline.Size()) {
        std::fprintf(stderr, "%s: live sets differ in size\n", c.name);
        return false;
    }
    return true;
}

// Seconds are measured around the timed steps only, beside the benchmark's
// own clock, to give the time per live cell.
void SetCounters(benchmark::State& state, const LatticeCase& c, double seconds) {
    size_t cells = 0;
    for (size_t n : c.liveBefore) {
        cells += n;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["gens_per_s"] =
        benchmark::Counter(iterations * kGenerations, benchmark::Counter::kIsRate);
    state.counters["ns_per_cell"] = seconds * 1e9 / (iterations * static_cast<double>(cells));
    state.counters["live_cells"] = static_cast<double>(c.liveBefore.front());
}

using Clock = std::chrono::steady_clock;

template <typename Engine> void EngineStep(benchmark::State& state, const LatticeCase* c) {
    std::unique_ptr<Engine> engine;
    Clock::duration stepping{};
    for (auto _ : state) {
        state.PauseTiming();
        engine.reset();
        engine = MakeEngine<Engine>(*c);
        state.ResumeTiming();
        const Clock::time_point start = Clock::now();
        for (int g = 0; g < kGenerations; ++g) {
            engine->Step();
        }
        stepping += Clock::now() - start;
        benchmark::DoNotOptimize(engine.get());
    }
    SetCounters(state, *c, std::chrono::duration<double>(stepping).count());
}

void BaselineStep(benchmark::State& state, const LatticeCase* c) {
    std::unique_ptr<BaselineStepper> baseline;
    std::vector<CellChange> changes;
    Clock::duration stepping{};
    for (auto _ : state) {
        state.PauseTiming();
        baseline.reset();
        baseline = std::make_unique<BaselineStepper>(*c);
        state.ResumeTiming();
        const Clock::time_point start = Clock::now();
        for (int g = 0; g < kGenerations; ++g) {
            baseline->Step(changes);
        }
        stepping += Clock::now() - start;
        benchmark::DoNotOptimize(changes.data());
    }
    SetCounters(state, *c, std::chrono::duration<double>(stepping).count());
}

// A long run on the square lattice under B3/S23, its pattern as run-length
// encoded rows (the soup's made up from a fixed seed).
struct LongRun {
    const char* name;
    int generations;
    const char* rle; // null for the soup
};

const std::vector<LongRun>& LongRuns() {
    static const std::vector<LongRun> runs = {
        {"soup2000_500gens", 500, nullptr},
        {"rpentomino_1103gens", 1103, "b2o$2ob$bo!"},
        {"gosper_gun_10000gens", 10000,
         "24bo$22bobo$12b2o6b2o12b2o$11bo3bo4b2o12b2o$2o8bo5bo3b2o$2o8bo3bob2o4bobo$10bo5bo7bo$"
         "11bo3bo$12b2o!"},
    };
    return runs;
}

using Cells = std::vector<std::pair<int32_t, int32_t>>;

Cells ParseRle(const char* rle) {
    Cells cells;
    int32_t x = 0;
    int32_t y = 0;
    int count = 0;
    for (const char* p = rle; *p != '\0' && *p != '!'; ++p) {
        if (*p >= '0' && *p <= '9') {
            count = count * 10 + (*p - '0');
            continue;
        }
        const int n = count == 0 ? 1 : count;
        count = 0;
        if (*p == 'o') {
            for (int i = 0; i < n; ++i) {
                cells.emplace_back(x++, y);
            }
        } else if (*p == 'b') {
            x += n;
        } else if (*p == '$') {
            y += n;
            x = 0;
        }
    }
    return cells;
}

const Cells& SoupCells() {
    static const Cells soup = [] {
        Cells cells;
        std::mt19937 rng(20240614);
        for (int32_t y = 0; y < 2000; ++y) {
            for (int32_t x = 0; x < 2000; ++x) {
                if ((rng() & 1) != 0) {
                    cells.emplace_back(x, y);
                }
            }
        }
        return cells;
    }();
    return soup;
}

// The soup as rows of run-length encoded cells, for bgolly.
std::string SoupRle() {
    std::string rle;
    const Cells& cells = SoupCells();
    size_t i = 0;
    for (int32_t y = 0; y < 2000; ++y) {
        int32_t x = 0;
        while (i < cells.size() && cells[i].second == y) {
            const int32_t start = cells[i].first;
            int32_t end = start;
            while (i < cells.size() && cells[i].second == y && cells[i].first == end) {
                ++end;
                ++i;
            }
            if (start > x) {
                rle += std::to_string(start - x) + "b";
            }
            rle += std::to_string(end - start) + "o";
            x = end;
        }
        rle += y + 1 < 2000 ? "$\n" : "!\n";
    }
    return rle;
}

// Seconds of one bgolly process over the run and its final population, or
// none without bgolly.
std::optional<std::pair<double, long>> RunGolly(const std::string& file, int generations) {
    const std::string out = file + ".out";
    const std::string command = "bgolly -a QuickLife -m " + std::to_string(generations) + " -i " +
                                std::to_string(std::max(generations, 1)) + " '" + file + "' > '" +
                                out + "' 2>&1";
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        return std::nullopt;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // The last line reads "generation: population", both with digit grouping.
    std::ifstream in(out);
    std::string line;
    std::string last;
    while (std::getline(in, line)) {
        if (line.find(": ") != std::string::npos) {
            last = line;
        }
    }
    long population = -1;
    const size_t colon = last.find(": ");
    if (colon != std::string::npos) {
        population = 0;
        for (char ch : last.substr(colon + 2)) {
            if (ch >= '0' && ch <= '9') {
                population = population * 10 + (ch - '0');
            }
        }
    }
    return std::make_pair(seconds, population);
}

std::unique_ptr<LifeEngine> LoadRun(const Cells& cells) {
    auto engine = std::make_unique<LifeEngine>();
    for (const auto& [x, y] : cells) {
        engine->PutCell(x, y, 1);
    }
    return engine;
}

void VersusQuickLife(benchmark::State& state, const LongRun* run) {
    const Cells cells = run->rle != nullptr ? ParseRle(run->rle) : SoupCells();
    const int repeats = run->rle != nullptr ? 5 : 2;
    // The population before each generation and the changes of each, by
    // reading every change back once.
    std::vector<long> population{static_cast<long>(cells.size())};
    std::vector<size_t> changeCounts;
    double withChanges = 1e300;
    size_t historyBytes = 0;
    size_t historyRecords = 0;
    for (int r = 0; r < repeats; ++r) {
        auto engine = LoadRun(cells);
        Clock::duration spent{};
        for (int g = 0; g < run->generations; ++g) {
            const Clock::time_point start = Clock::now();
            engine->Step();
            int32_t x = 0;
            int32_t y = 0;
            int16_t change = 0;
            long net = 0;
            size_t count = 0;
            while (engine->NextChange(x, y, change)) {
                net += change;
                ++count;
            }
            spent += Clock::now() - start;
            if (r == 0) {
                population.push_back(population.back() + net);
                changeCounts.push_back(count);
            }
        }
        withChanges = std::min(withChanges, std::chrono::duration<double>(spent).count());
        historyBytes = engine->HistoryBytes();
        historyRecords = engine->HistoryRecords();
    }
    double stepOnly = 1e300;
    for (auto _ : state) {
        for (int r = 0; r < repeats; ++r) {
            auto engine = LoadRun(cells);
            const Clock::time_point start = Clock::now();
            for (int g = 0; g < run->generations; ++g) {
                engine->Step();
            }
            stepOnly =
                std::min(stepOnly, std::chrono::duration<double>(Clock::now() - start).count());
        }
        state.SetIterationTime(stepOnly);
    }
    double cellGenerations = 0;
    for (int g = 0; g < run->generations; ++g) {
        cellGenerations += static_cast<double>(population[static_cast<size_t>(g)]);
    }
    size_t storedChanges = 0;
    for (size_t i = 0; i < historyRecords && i < changeCounts.size(); ++i) {
        storedChanges += changeCounts[changeCounts.size() - 1 - i];
    }
    state.counters["engine_ms"] = stepOnly * 1e3;
    state.counters["with_changes_ms"] = withChanges * 1e3;
    state.counters["ns_per_cell_gen"] = stepOnly * 1e9 / cellGenerations;
    state.counters["final_cells"] = static_cast<double>(population.back());
    size_t allChanges = 0;
    for (size_t n : changeCounts) {
        allChanges += n;
    }
    state.counters["changes_per_gen"] =
        static_cast<double>(allChanges) / static_cast<double>(run->generations);
    state.counters["history_bytes_per_change"] =
        storedChanges == 0 ? 0.0
                           : static_cast<double>(historyBytes) / static_cast<double>(storedChanges);

    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("bench_lifeengine_" + std::string(run->name) + ".rle");
    {
        std::ofstream out(file);
        out << "x = 0, y = 0, rule = B3/S23\n"
            << (run->rle != nullptr ? std::string(run->rle) : SoupRle()) << "\n";
    }
    double golly = 1e300;
    double gollyLoad = 1e300;
    long gollyPopulation = -1;
    for (int r = 0; r < repeats + 3; ++r) {
        const auto full = RunGolly(file.string(), run->generations);
        const auto load = RunGolly(file.string(), 0);
        if (!full || !load) {
            state.SetLabel("bgolly not found: no QuickLife figures");
            std::filesystem::remove(file);
            return;
        }
        golly = std::min(golly, full->first);
        gollyLoad = std::min(gollyLoad, load->first);
        gollyPopulation = full->second;
    }
    std::filesystem::remove(file);
    std::filesystem::remove(file.string() + ".out");
    const double quickLife = std::max(golly - gollyLoad, 1e-6);
    state.counters["quicklife_ms"] = quickLife * 1e3;
    state.counters["ratio"] = stepOnly / quickLife;
    if (gollyPopulation != population.back()) {
        state.SkipWithError("bgolly's final population differs from the engine's");
    }
}

} // namespace

int main(int argc, char** argv) {
    for (LatticeCase& c : Cases()) {
        if (!Verify(c)) {
            std::fprintf(stderr, "engine and baseline disagree; no measurement\n");
            std::abort();
        }
    }
    for (const LatticeCase& c : Cases()) {
        benchmark::RegisterBenchmark((std::string("Engine/") + c.name).c_str(),
                                     EngineStep<LifeEngine>, &c)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("SweepEngine/") + c.name).c_str(),
                                     EngineStep<SweepEngine>, &c)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("Baseline/") + c.name).c_str(), BaselineStep, &c)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(3.0);
    }
    for (const LongRun& run : LongRuns()) {
        benchmark::RegisterBenchmark((std::string("VersusQuickLife/") + run.name).c_str(),
                                     VersusQuickLife, &run)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->UseManualTime();
    }
    return bench::Run(argc, argv);
}
