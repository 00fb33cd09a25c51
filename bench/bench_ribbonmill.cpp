// Ribbonmill's runs at full speed (no pause) in an offscreen window against
// ExecuteStep of the model alone, and saving the largest tape.
//
// Counter: a binary counter. State A adds one at the head and carries
// leftwards, B walks back right to the number's end; the number grows leftwards
// over the blank tape, the window scrolling with the head, until the carry
// reaches a 2 written 20 cells left of the start, where the machine halts.
// Runaway: one state that writes 0 on every blank and moves right forever, the
// window scrolling with the head, until the tape holds its most cells and the
// run stops with its message.
// Window: Run in frmRibbonmill at speed 4 until the run ends, the controls
// shown as the window shows them during a run. Model: the same steps by
// TapeMachine::ExecuteStep. The window must keep at least a quarter of the
// model's rate; the shares are printed at the end, with the bytes the full
// tape holds per cell.
// Full tape: SaveMachine of the runaway machine with its full tape, and
// LoadMachine of the file it wrote.

#include "BenchMain.h"
#include "DropDownList.h"
#include "MachineFile.h"
#include "ScriptedDialogs.h"
#include "Slider.h"
#include "frmRibbonmill.h"

#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
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

// The runaway machine's file: state A, N = 1, a new tape.
std::string RunawayFile() {
    TapeMachine m;
    m.AddState("A");
    m.SetSymbolCount(1);
    m.SetNewSymbol(m.RuleIndex(0, -1), 0);
    m.SetCurrentState(0);
    return MachineText(m);
}

struct Machine {
    const char* name;
    std::string (*file)();
    std::filesystem::path path;
};

Machine& Counter() {
    static Machine machine{"Counter", CounterFile, {}};
    return machine;
}

Machine& Runaway() {
    static Machine machine{"Runaway", RunawayFile, {}};
    return machine;
}

frmRibbonmill*& Form() {
    static frmRibbonmill* form = nullptr;
    return form;
}

int64_t CountSteps(const Machine& machine) {
    TapeMachine m;
    ReadMachine(machine.file(), m);
    int64_t steps = 0;
    while (m.ExecuteStep() == StepResult::Stepped)
        ++steps;
    return steps;
}

void Window(benchmark::State& state, Machine* machine) {
    frmRibbonmill& form = *Form();
    form.sldSpeed->SetValue(4);
    // The runaway's run ends with the tape's message.
    platform::ScriptedDialogs dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        form.LoadMachine(QString::fromStdString(machine->path.string()));
        if (form.Machine().CurrentState() != 0)
            state.SkipWithError("the machine did not load");
        // The window shows the loaded machine before the run starts.
        QApplication::processEvents();
        if (machine == &Runaway())
            dialogs.AnswerMessage(platform::MessageResult::Ok);
        state.ResumeTiming();
        form.cmdRun_Click();
    }
    if (!dialogs.Errors().empty() || dialogs.Unused() != 0)
        state.SkipWithError("the run's messages were not as expected");
    state.SetItemsProcessed(state.iterations() * CountSteps(*machine));
}

void Model(benchmark::State& state, Machine* machine) {
    const std::string file = machine->file();
    for (auto _ : state) {
        state.PauseTiming();
        auto m = std::make_unique<TapeMachine>();
        ReadMachine(file, *m);
        state.ResumeTiming();
        while (m->ExecuteStep() == StepResult::Stepped) {
        }
        benchmark::DoNotOptimize(m->Tape().cur);
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * CountSteps(*machine));
}

// The runaway machine with its full tape.
std::unique_ptr<TapeMachine> FullTape() {
    auto m = std::make_unique<TapeMachine>();
    ReadMachine(RunawayFile(), *m);
    while (m->ExecuteStep() == StepResult::Stepped) {
    }
    return m;
}

std::filesystem::path FullTapePath() {
    return std::filesystem::temp_directory_path() / "bench_ribbonmill_full.qmx";
}

void Save(benchmark::State& state) {
    const std::unique_ptr<TapeMachine> m = FullTape();
    for (auto _ : state) {
        if (!SaveMachine(FullTapePath(), *m))
            state.SkipWithError("the machine was not saved");
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(FullTapePath())));
}

// Loading what Save wrote.
void Load(benchmark::State& state) {
    for (auto _ : state) {
        TapeMachine m;
        if (LoadMachine(FullTapePath(), m) != LoadResult::Loaded ||
            !m.Tape().Full())
            state.SkipWithError("the machine did not load");
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(FullTapePath())));
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    for (Machine* machine : {&Counter(), &Runaway()}) {
        machine->path = std::filesystem::temp_directory_path() /
                        ("bench_ribbonmill_" + std::string(machine->name) + ".qmx");
        TapeMachine m;
        ReadMachine(machine->file(), m);
        if (!SaveMachine(machine->path, m))
            return 1;
    }
    frmRibbonmill form;
    form.show();
    QApplication::processEvents();
    Form() = &form;
    for (Machine* machine : {&Counter(), &Runaway()}) {
        const std::string name = machine->name;
        benchmark::RegisterBenchmark((name + "/Window").c_str(), Window, machine)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "/Model").c_str(), Model, machine)->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("Full tape/Save", Save)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Full tape/Load", Load)->Unit(benchmark::kMillisecond);
    if (!bench::ReadArguments(argc, argv))
        return 1;
    bench::BestTimes reporter;
    bench::RunAndShutdown(&reporter);
    for (Machine* machine : {&Counter(), &Runaway()}) {
        const std::string name = machine->name;
        // The rate's share is the inverse of the time's.
        if (const auto share = reporter.Ratio(name + "/Model", name + "/Window"))
            std::printf("%s: %lld steps per run; window rate / model rate = %.2f (at least 0.25)\n",
                        machine->name, static_cast<long long>(CountSteps(*machine)), *share);
        std::filesystem::remove(machine->path);
    }
    std::filesystem::remove(FullTapePath());
    const std::unique_ptr<TapeMachine> full = FullTape();
    std::printf("Full tape: %zu cells in %zu bytes, %.3f bytes per cell\n", full->Tape().CellCount(),
                full->Tape().MemoryBytes(),
                static_cast<double>(full->Tape().MemoryBytes()) / static_cast<double>(full->Tape().CellCount()));
    return 0;
}
