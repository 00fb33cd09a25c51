// Loading a large pattern set into Neuromesh's main window: the time of the
// load (rows, thumbnails, network fitted to the set) and what the window
// holds afterwards, for sets of 26, 2000 and 5000 categories of 8 samples of
// 20 points, every slot drawn. The window keeps thumbnail pictures only for
// the rows in view, so neither count should follow the number of categories.
// Run one size per process (--benchmark_filter) for a clean memory figure.

#include "LibraryBinding.h"
#include "NeuromeshBench.h"
#include "NeuralLibrary.h"
#include "PatternFile.h"
#include "ProgramFolder.h"
#include "frmNeuromesh.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path Folder() {
    return neuromesh_bench::Folder("bench_neuromesh_rows");
}

using neuromesh_bench::App;

// The resident set of this process in MB.
double ResidentMB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / 1e6;
}

fs::path PatternFileOf(int categories) {
    const fs::path path = Folder() / ("set" + std::to_string(categories) + ".pat");
    neuromesh::PatternSet set;
    std::vector<std::string> names;
    for (int c = 0; c < categories; ++c)
        names.push_back("c" + std::to_string(c));
    set.Redefine(std::move(names), 8, 20);
    std::vector<double> v(size_t(set.Components()));
    for (int s = 0; s < set.Slots(); ++s) {
        for (size_t i = 0; i < v.size(); ++i)
            v[i] = double((i * 7 + size_t(s)) % 11) / 10;
        set.SetSample(s, v);
    }
    neuromesh::SavePatternFile(path, set);
    return path;
}

void Load(benchmark::State& state) {
    const fs::path file = PatternFileOf(int(state.range(0)));
    App();
    platform::SetProgramFolder(Folder());
    const double before = ResidentMB();
    double grown = 0;
    size_t thumbnails = 0;
    for (auto _ : state) {
        auto form = std::make_unique<frmNeuromesh>();
        form->show();
        QApplication::processEvents();
        form->LoadPatternFile(file);
        QApplication::processEvents();
        thumbnails = form->picPattern.size();
        if (grown == 0)
            grown = ResidentMB() - before;
        state.PauseTiming();
        form.reset();
        fs::remove(Folder() / frmNeuromesh::kRecentPatternSet);
        fs::remove(Folder() / frmNeuromesh::kRecentNetwork);
        state.ResumeTiming();
    }
    state.counters["thumbnails"] = double(thumbnails);
    state.counters["MB grown"] = grown;
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("VERITOPE_NEURAL_SEED", "1", 1);
    App();
    if (!platform::BindLibrary(neuromesh::kNeuralLibrary))
        return 1;
    benchmark::RegisterBenchmark("Rows/Load", Load)
        ->Arg(26)
        ->Arg(2000)
        ->Arg(5000)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    fs::remove_all(Folder(), error);
    return 0;
}
