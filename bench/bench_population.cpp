// Generations per second of the Population library's Step, called through
// the library binding as Cooperon calls it, with Cooperon's settings at load
// (payoffs 1, 0, 20, 10; 50 games a series, 4 sessions a generation;
// mutation 1/70 and crossover 2/70 per bit) and 64, 1,000 or 10,000 members.
// The population is set up once per size; every iteration breeds one
// generation of the same size from the last.

#include "LibraryBinding.h"
#include "Population.h"

#include <benchmark/benchmark.h>

namespace {

platform::BoundFunction<decltype(::Initialize)> Initialize_{POPULATION_PATH, "_Z10Initializev"};
platform::BoundFunction<decltype(::NewPop)> NewPop_{POPULATION_PATH, "_Z6NewPopi"};
platform::BoundFunction<decltype(::SetPayoffs)> SetPayoffs_{POPULATION_PATH, "_Z10SetPayoffsiiii"};
platform::BoundFunction<decltype(::SetRepParams)> SetRepParams_{POPULATION_PATH,
                                                                "_Z12SetRepParamsdd"};
platform::BoundFunction<decltype(::SetGameParams)> SetGameParams_{POPULATION_PATH,
                                                                  "_Z13SetGameParamsii"};
platform::BoundFunction<decltype(::Reset)> Reset_{POPULATION_PATH, "_Z5Resetv"};
platform::BoundFunction<decltype(::Step)> Step_{POPULATION_PATH, "_Z4Stepv"};
platform::BoundFunction<decltype(::GetSize)> GetSize_{POPULATION_PATH, "_Z7GetSizev"};
platform::BoundFunction<decltype(::Finalize)> Finalize_{POPULATION_PATH, "_Z8Finalizev"};

void BM_Step(benchmark::State& state) {
    Initialize_();
    NewPop_(int32_t(state.range(0)));
    SetPayoffs_(1, 0, 20, 10);
    SetRepParams_(1.0 / 70, 2.0 / 70);
    SetGameParams_(50, 4);
    Reset_();
    for (auto _ : state)
        Step_();
    if (GetSize_() != state.range(0))
        state.SkipWithError("the population changed size");
    state.counters["gens/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    Finalize_();
}
BENCHMARK(BM_Step)->Arg(64)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
