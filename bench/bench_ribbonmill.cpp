// Ribbonmill's run at full speed (no pause) in an offscreen window against
// ExecuteStep of the model alone.
//
// The machine is a binary counter: state A adds one at the head and carries
// leftwards, B walks back right to the number's end; the number grows leftwards
// over the blank tape, the window scrolling with the head, until the carry
// reaches a 2 written 20 cells left of the start, where the machine halts.
// Window: Run in frmRibbonmill at speed 4 until the machine halts, the
// controls shown as the window shows them during a run. Model: the same steps
// by TapeMachine::ExecuteStep. The window must keep at least a quarter of the
// model's rate; the share is printed at the end.

#include "DropDownList.h"
#include "MachineFile.h"
#include "Slider.h"
#include "frmRibbonmill.h"

#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace ribbonmill;

namespace {

// The counter's file: states A and B, N = 3, the marker 2 at cell 0, the head
// at cell 20, the window from cell 10.
std::string CounterFile() {
    TapeMachine m;
    m.AddState("A");
    m.AddState("B");
    m.SetSymbolCount(3);
    const auto set = [&m](int32_t state, int16_t read, int16_t write, Direction d, int32_t next) {
        const int row = m.RuleIndex(state, read);
        m.SetNewSymbol(row, write);
        if (d == Direction::Stop)
            m.SetHalting(row);
        else
            m.SetContinue(row, d, next);
    };
    set(0, -1, 1, Direction::Right, 1);
    set(0, 0, 1, Direction::Right, 1);
    set(0, 1, 0, Direction::Left, 0);
    set(0, 2, 2, Direction::Stop, kStop);
    set(1, -1, -1, Direction::Left, 0);
    set(1, 0, 0, Direction::Right, 1);
    set(1, 1, 1, Direction::Right, 1);
    set(1, 2, 2, Direction::Stop, kStop);
    std::vector<int16_t> cells(40, -1);
    cells[0] = 2;
    m.LoadTape(std::make_unique<clsTape>(cells, 10, 10));
    m.SetCurrentState(0);
    return MachineText(m);
}

std::filesystem::path& CounterPath() {
    static std::filesystem::path path;
    return path;
}

frmRibbonmill*& Form() {
    static frmRibbonmill* form = nullptr;
    return form;
}

int64_t CountSteps() {
    TapeMachine m;
    ReadMachine(CounterFile(), m);
    int64_t steps = 0;
    while (m.ExecuteStep() == StepResult::Stepped)
        ++steps;
    return steps;
}

void Window(benchmark::State& state) {
    frmRibbonmill& form = *Form();
    form.sldSpeed->SetValue(4);
    for (auto _ : state) {
        state.PauseTiming();
        form.LoadMachine(QString::fromStdString(CounterPath().string()));
        if (form.Machine().CurrentState() != 0)
            state.SkipWithError("the counter did not load");
        // The window shows the loaded machine before the run starts.
        QApplication::processEvents();
        state.ResumeTiming();
        form.cmdRun_Click();
    }
    state.SetItemsProcessed(state.iterations() * CountSteps());
}

void Model(benchmark::State& state) {
    const std::string file = CounterFile();
    for (auto _ : state) {
        state.PauseTiming();
        TapeMachine m;
        ReadMachine(file, m);
        state.ResumeTiming();
        while (m.ExecuteStep() == StepResult::Stepped) {
        }
        benchmark::DoNotOptimize(m.Tape().cur);
    }
    state.SetItemsProcessed(state.iterations() * CountSteps());
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const auto [it, added] = times_.emplace(run.benchmark_name(), run.GetAdjustedRealTime());
            if (!added)
                it->second = std::min(it->second, run.GetAdjustedRealTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio() const {
        const auto w = times_.find("Run/Window");
        const auto m = times_.find("Run/Model");
        if (w == times_.end() || m == times_.end() || w->second <= 0)
            return;
        std::printf("%lld steps per run; window rate / model rate = %.2f (at least 0.25)\n",
                    static_cast<long long>(CountSteps()), m->second / w->second);
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CounterPath() = std::filesystem::temp_directory_path() / "bench_ribbonmill_counter.qmx";
    {
        TapeMachine m;
        ReadMachine(CounterFile(), m);
        if (!SaveMachine(CounterPath(), m))
            return 1;
    }
    frmRibbonmill form;
    form.show();
    QApplication::processEvents();
    Form() = &form;
    benchmark::RegisterBenchmark("Run/Window", Window)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Run/Model", Model)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio();
    benchmark::Shutdown();
    std::filesystem::remove(CounterPath());
    return 0;
}
