#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

// What the main() of every benchmark program shares: the offscreen platform of
// the window benchmarks, reading the arguments, running and ending the library,
// and the best time of each benchmark for the ratios printed at the end.

namespace bench {

// The window benchmarks draw offscreen unless QT_QPA_PLATFORM names another
// platform. Call it before the QApplication is made.
inline void UseOffscreenPlatform() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

// Reads the benchmark library's own arguments; false, said on the console, when
// any other is left.
inline bool ReadArguments(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    return !benchmark::ReportUnrecognizedArguments(argc, argv);
}

// Runs the benchmarks chosen, on the console or through reporter, and ends the
// library.
inline void RunAndShutdown(benchmark::BenchmarkReporter* reporter = nullptr) {
    if (reporter != nullptr)
        benchmark::RunSpecifiedBenchmarks(reporter);
    else
        benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

// The end of a main with nothing to do between reading the arguments and
// running: the exit code, 1 for an argument it does not know.
inline int Run(int& argc, char** argv, benchmark::BenchmarkReporter* reporter = nullptr) {
    if (!ReadArguments(argc, argv))
        return 1;
    RunAndShutdown(reporter);
    return 0;
}

// Seconds per iteration of each case a benchmark times itself, for the summary
// it prints at the end.
inline std::map<std::string, double>& Seconds() {
    static std::map<std::string, double> seconds;
    return seconds;
}

// Keeps the fastest of the seconds recorded for a case.
inline void RecordFastest(const std::string& key, double seconds) {
    const auto [it, added] = Seconds().emplace(key, seconds);
    if (!added)
        it->second = std::min(it->second, seconds);
}

// The console's report, keeping each benchmark's best time per iteration over
// its repetitions, for ratios against a baseline run in the same process.
class BestTimes : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const auto [it, added] =
                times_.emplace(run.benchmark_name(), run.GetAdjustedRealTime());
            if (!added)
                it->second = std::min(it->second, run.GetAdjustedRealTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The best time of one over the other's; none when either did not run (left
    // out by a filter, or failed) or the other's is not above 0.
    std::optional<double> Ratio(const std::string& numerator,
                                const std::string& denominator) const {
        const auto n = times_.find(numerator);
        const auto d = times_.find(denominator);
        if (n == times_.end() || d == times_.end() || d->second <= 0)
            return std::nullopt;
        return n->second / d->second;
    }

private:
    std::map<std::string, double> times_;
};

} // namespace bench
