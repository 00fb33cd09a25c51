// Steps per second of the epidemic (50 x 50) and the segregation grid (100 x 100):
// the model's SimulationStep alone against the window's run loop (offscreen),
// which paints what the screen can show and lets messages run.

#include "BenchMain.h"
#include "DropDownList.h"
#include "Pump.h"
#include "frmContagia.h"
#include "frmNeighbora.h"

#include <QApplication>
#include <QPushButton>

namespace {

constexpr int kSteps = 2000;

template <class Form, class Step> void ModelAlone(benchmark::State& state, int sizeIndex, Step step) {
    Form form;
    form.cmbSize->SetListIndex(sizeIndex);
    form.cmdReset->click();
    for (auto _ : state)
        for (int i = 0; i < kSteps; ++i)
            step(form.grid);
    state.SetItemsProcessed(state.iterations() * kSteps);
}

template <class Form> void WindowRun(benchmark::State& state, int sizeIndex) {
    Form form;
    form.show();
    form.cmbSize->SetListIndex(sizeIndex);
    form.cmdReset->click();
    for (auto _ : state) {
        int steps = 0;
        platform::SetDoEventsHook([&] {
            if (++steps == kSteps)
                form.cmdRun->click();
        });
        form.cmdRun->click();
    }
    platform::SetDoEventsHook(nullptr);
    state.SetItemsProcessed(state.iterations() * kSteps);
}

void ContagiaModel(benchmark::State& state) {
    ModelAlone<frmContagia>(state, 4, [](EpidemicGrid& g) { g.SimulationStep(2, 1); });
}
void ContagiaWindow(benchmark::State& state) {
    WindowRun<frmContagia>(state, 4);
}
void NeighboraModel(benchmark::State& state) {
    ModelAlone<frmNeighbora>(state, 6, [](SegregationGrid& g) { g.SimulationStep(30); });
}
void NeighboraWindow(benchmark::State& state) {
    WindowRun<frmNeighbora>(state, 6);
}

BENCHMARK(ContagiaModel)->Unit(benchmark::kMillisecond);
BENCHMARK(ContagiaWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(NeighboraModel)->Unit(benchmark::kMillisecond);
BENCHMARK(NeighboraWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    return bench::Run(argc, argv);
}
