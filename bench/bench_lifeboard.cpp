// Generations per second of Lifeboard's run: RunForward on a soup of 10,000
// cells drawn at cell size 2 in an offscreen window, against the engine's own
// Step and NextChange loop on the same soup in the same process. And the
// memory a run of a million generations takes on a still life (a block) and
// on an empty board: the growth of the resident set over the run.


#include "BenchMain.h"
#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <random>
#include <unistd.h>
#include <vector>

#include "Activation.h"
#include "ILEGame.h"
#include "Pump.h"
#include "Surface.h"
#include "frmLifeboard.h"

namespace {

constexpr int kGenerations = 50;

struct Cell {
    int32_t x;
    int32_t y;
};

// 10,000 cells in a 200 x 200 square, a quarter of it live.
const std::vector<Cell>& Soup() {
    static const std::vector<Cell> soup = [] {
        std::mt19937 random(12345);
        std::vector<Cell> cells;
        std::vector<bool> taken(200 * 200);
        std::uniform_int_distribution<int> pick(0, 200 * 200 - 1);
        while (cells.size() < 10000) {
            const int i = pick(random);
            if (!taken[i]) {
                taken[i] = true;
                cells.push_back({i % 200 + 10, i / 200 + 20});
            }
        }
        return cells;
    }();
    return soup;
}

void Plant(ILEGame& game) {
    for (const Cell& c : Soup())
        game.put_Cell(c.x, c.y, 1);
}

void BM_EngineStepAndChanges(benchmark::State& state) {
    com::ComPtr<ILEGame> game;
    if (com::FAILED(com::CoCreateInstance(CLSID_LEGame, nullptr, com::CLSCTX_INPROC_SERVER,
                                          IID_ILEGame, game.Put()))) {
        state.SkipWithError("Gridcore is not registered");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        game->CleanHistory();
        game->StartIterating();
        int32_t x, y;
        int16_t ok = 0;
        while (game->NextCell(&x, &y, &ok), ok == 1)
            game->put_Cell(x, y, 0);
        Plant(*game.Get());
        state.ResumeTiming();
        int64_t changes = 0;
        for (int g = 0; g < kGenerations; ++g) {
            game->Step();
            int16_t ch;
            while (game->NextChange(&x, &y, &ch, &ok), ok == 1)
                ++changes;
        }
        benchmark::DoNotOptimize(changes);
    }
    state.counters["gens/s"] = benchmark::Counter(double(kGenerations) * state.iterations(),
                                                  benchmark::Counter::kIsRate);
}

void BM_WindowRunForward(benchmark::State& state) {
    frmLifeboard form;
    if (!form.Loaded()) {
        state.SkipWithError("Gridcore is not registered");
        return;
    }
    form.resize(1000, 950);
    form.show();
    while (form.View().z > 2)
        form.ZoomBy(-1);
    for (auto _ : state) {
        state.PauseTiming();
        form.ClearBoard();
        Plant(form.Engine());
        form.board->Refresh();
        int steps = 0;
        platform::SetDoEventsHook([&] {
            if (++steps == kGenerations)
                form.StopRunning();
        });
        state.ResumeTiming();
        form.RunForward();
        state.PauseTiming();
        platform::SetDoEventsHook(nullptr);
        state.ResumeTiming();
    }
    state.counters["gens/s"] = benchmark::Counter(double(kGenerations) * state.iterations(),
                                                  benchmark::Counter::kIsRate);
}

// Resident memory of the process in bytes.
double ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(::sysconf(_SC_PAGESIZE));
}

void BM_WindowRunOnStillLife(benchmark::State& state) {
    constexpr int kLongRun = 1000000;
    frmLifeboard form;
    if (!form.Loaded()) {
        state.SkipWithError("Gridcore is not registered");
        return;
    }
    form.resize(640, 480);
    form.show();
    double growth = 0;
    for (auto _ : state) {
        form.ClearBoard();
        if (state.range(0) == 1)
            for (const Cell c : {Cell{5, 5}, Cell{5, 6}, Cell{6, 5}, Cell{6, 6}})
                form.Engine().put_Cell(c.x, c.y, 1);
        int steps = 0;
        platform::SetDoEventsHook([&] {
            if (++steps == kLongRun)
                form.StopRunning();
        });
        const double before = ResidentBytes();
        form.RunForward();
        growth = ResidentBytes() - before;
        platform::SetDoEventsHook(nullptr);
    }
    state.counters["generations"] = form.Generation() - 1;
    state.counters["rss_growth_MB"] = growth / (1024.0 * 1024.0);
    state.SetLabel(state.range(0) == 1 ? "block" : "empty board");
}

BENCHMARK(BM_EngineStepAndChanges)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowRunForward)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowRunOnStillLife)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    // A registry store of its own, with the server registered.
    const auto dir = std::filesystem::temp_directory_path() /
                     ("vt-bench-lifeboard-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ::setenv("VERITOPE_REGISTRY", (dir / "registry").c_str(), 1);
    const std::string command =
        std::string(REGSVR_PATH) + " /s " + GRIDCORE_PATH + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return 1;
    QApplication app(argc, argv);
    const int result = bench::Run(argc, argv);
    std::filesystem::remove_all(dir);
    return result;
}
