// Loading a Ribbonmill machine of 100,000 states against reading the same
// file's bytes.
//
// The machine: states S0 to S99999, N = 2, a blank tape of twenty cells, every
// rule writing what it read, moving right and passing to the next state (the
// last one back to S0), so that every rule names a state to look up. Load:
// LoadMachine into a new TapeMachine. Bytes: the same file read whole into a
// string through the reader LoadMachine uses. The ratio of the two is printed
// at the end.

#include "BenchMain.h"
#include "ByteFile.h"
#include "MachineFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace ribbonmill;

namespace {

constexpr int kStates = 100000;

std::filesystem::path& FilePath() {
    static std::filesystem::path path;
    return path;
}

std::string ManyStatesFile() {
    const auto name = [](int i) { return "\"S" + std::to_string(i % kStates) + "\""; };
    std::string text;
    for (int i = 0; i < kStates; ++i)
        text += name(i) + "\r\n";
    text += "\"STOP\"\r\n" + name(0) + "\r\n\"2\"\r\n10\r\n";
    for (int cell = 0; cell < 20; ++cell) {
        const char* flag = cell == 10 ? "CX" : cell == 0 ? "XL" : cell == 19 ? "XR" : "XX";
        text += "\"" + std::string(flag) + "\",\"(blank)\"\r\n";
    }
    text += "\"E\",\"E\"\r\n";
    for (int i = 0; i < kStates; ++i) {
        for (const char* symbol : {"(blank)", "0", "1"}) {
            const std::string s = std::string("\"") + symbol + "\"";
            text += name(i) + "," + s + "," + s + ",\"Right\"," + name(i + 1) + "\r\n";
        }
    }
    return text + "\"E\",\"E\",\"E\",\"E\",\"E\"\r\n";
}

void Load(benchmark::State& state) {
    for (auto _ : state) {
        TapeMachine m;
        if (LoadMachine(FilePath(), m) != LoadResult::Loaded)
            state.SkipWithError("the machine did not load");
        benchmark::DoNotOptimize(m.Rules().data());
        state.PauseTiming();
        if (m.States().size() != kStates)
            state.SkipWithError("the states did not load");
        {
            TapeMachine gone = std::move(m);
        }
        state.ResumeTiming();
    }
}

void Bytes(benchmark::State& state) {
    for (auto _ : state) {
        platform::ByteReader file;
        if (!file.Open(FilePath()))
            state.SkipWithError("the file did not open");
        std::string text;
        text.reserve(static_cast<std::size_t>(file.Size()));
        for (auto chunk = file.NextChunk(); !chunk.empty(); chunk = file.NextChunk())
            text.append(reinterpret_cast<const char*>(chunk.data()), chunk.size());
        benchmark::DoNotOptimize(text.data());
    }
}

} // namespace

int main(int argc, char** argv) {
    FilePath() = std::filesystem::temp_directory_path() / "bench_ribbonmill_states.qmx";
    {
        std::ofstream out(FilePath(), std::ios::binary);
        out << ManyStatesFile();
    }
    benchmark::RegisterBenchmark("Load/100000 states/Machine", Load)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Load/100000 states/Bytes", Bytes)->Unit(benchmark::kMillisecond);
    if (!bench::ReadArguments(argc, argv))
        return 1;
    bench::BestTimes reporter;
    bench::RunAndShutdown(&reporter);
    if (const auto ratio = reporter.Ratio("Load/100000 states/Machine", "Load/100000 states/Bytes"))
        std::printf("loading the machine / reading its bytes = %.1f\n", *ratio);
    std::filesystem::remove(FilePath());
    return 0;
}
