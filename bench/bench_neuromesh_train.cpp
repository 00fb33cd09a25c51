// Epochs per second of Neuromesh's training dialog: its loop trains the
// default 20-25-26 network on 78 drawn samples in an offscreen window, adds
// every epoch to the scrolling error chart and lets the diagram's animation
// timer run, beside the same epochs through the library's exports without a
// window, in the same process. The dialog must reach at least half the
// library's rate.

#include "LibraryBinding.h"
#include "NeuromeshBench.h"
#include "Modal.h"
#include "NeuralLibrary.h"
#include "PatternFile.h"
#include "ProgramFolder.h"
#include "Pump.h"
#include "frmNeuromesh.h"
#include "frmTrain.h"

#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Past the chart's 201 segments, so that it scrolls in every run but the first.
constexpr int kEpochsPerRun = 250;

fs::path Folder() {
    return neuromesh_bench::Folder("bench_neuromesh_train");
}

using neuromesh_bench::App;

// The main window over a set of 26 categories, 3 samples of 10 points, every
// slot drawn.
std::unique_ptr<frmNeuromesh> ShownWindow() {
    App();
    platform::SetProgramFolder(Folder());
    auto form = std::make_unique<frmNeuromesh>();
    neuromesh::PatternSet set = form->Patterns();
    std::vector<double> v(size_t(set.Components()));
    for (int s = 0; s < set.Slots(); ++s) {
        for (size_t i = 0; i < v.size(); ++i)
            v[i] = double((i * 7 + size_t(set.CategoryOf(s)) * 3 + size_t(s)) % 11) / 10;
        set.SetSample(s, v);
    }
    neuromesh::SavePatternFile(Folder() / "set.pat", set);
    form->LoadPatternFile(Folder() / "set.pat");
    form->show();
    QApplication::processEvents();
    return form;
}

void Library(benchmark::State& state) {
    const std::unique_ptr<frmNeuromesh> form = ShownWindow();
    const auto rates = [] { return neuromesh::TrainingRates{0.25, 0.5}; };
    for (auto _ : state)
        benchmark::DoNotOptimize(form->Network().TrainEpoch(form->Patterns(), rates));
    state.counters["epochs/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void Dialog(benchmark::State& state) {
    const std::unique_ptr<frmNeuromesh> form = ShownWindow();
    platform::SetModalHook([&state](QDialog& dialog) {
        auto& train = static_cast<frmTrain&>(dialog);
        train.show();
        QApplication::processEvents();
        for (auto _ : state) {
            int epochs = 0;
            platform::SetDoEventsHook([&] {
                if (++epochs == kEpochsPerRun)
                    train.cmdGo->click(); // Pause
            });
            train.cmdGo_Click();
        }
        platform::SetDoEventsHook(nullptr);
        train.close();
    });
    form->cmdTrain_Click();
    platform::SetModalHook(nullptr);
    state.counters["epochs/s"] = benchmark::Counter(double(state.iterations()) * kEpochsPerRun,
                                                    benchmark::Counter::kIsRate);
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                rates_[run.benchmark_name()] = run.counters.at("epochs/s");
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio() const {
        const auto library = rates_.find("Train/Library"), dialog = rates_.find("Train/Dialog");
        if (library != rates_.end() && dialog != rates_.end() && library->second > 0)
            std::printf("dialog rate / library rate = %.2f (at least 0.5)\n",
                        dialog->second / library->second);
    }

private:
    std::map<std::string, double> rates_;
};

} // namespace

int main(int argc, char** argv) {
    ::setenv("VERITOPE_NEURAL_SEED", "1", 1);
    App();
    if (!platform::BindLibrary(neuromesh::kNeuralLibrary))
        return 1;
    benchmark::RegisterBenchmark("Train/Library", Library)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Train/Dialog", Dialog)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio();
    benchmark::Shutdown();
    std::error_code error;
    fs::remove_all(Folder(), error);
    return 0;
}
