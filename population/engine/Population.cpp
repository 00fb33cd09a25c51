// The Population library's exports over the one process-wide population.

#include "Population.h"

#include "PopulationState.h"

#include <array>
#include <memory>
#include <new>

using population::PopulationState;
using population::RandomGenerator;
using population::ThreadGenerator;

namespace {

std::unique_ptr<PopulationState> thePopulation; // empty until NewPop

template <typename T> void Store(T* target, T value) {
    if (target)
        *target = value;
}

bool IsMember(int32_t member) {
    return thePopulation && member >= 0 && member < thePopulation->Count();
}

// Runs a model operation on a copy of the thread's generator, kept in a register in the hot loops.
// A population the library cannot allocate leaves it with none.
template <typename Operation> void WithGenerator(Operation operation) {
    RandomGenerator& shared = ThreadGenerator();
    RandomGenerator random = shared;
    try {
        operation(random);
    } catch (const std::bad_alloc&) {
        thePopulation.reset();
    }
    shared = random;
}

} // namespace

void Initialize() {
    thePopulation.reset();
}

void Finalize() {
    thePopulation.reset();
}

void NewPop(int32_t n) {
    thePopulation.reset();
    WithGenerator([n](RandomGenerator& random) {
        thePopulation = std::make_unique<PopulationState>(n, random);
    });
}

void Reset() {
    if (thePopulation)
        WithGenerator([](RandomGenerator& random) { thePopulation->Reset(random); });
}

void Step() {
    if (thePopulation)
        WithGenerator([](RandomGenerator& random) { thePopulation->StepGeneration(random); });
}

int32_t GetSize() {
    return thePopulation ? thePopulation->Count() : 0;
}

void SetSize(int32_t n) {
    if (thePopulation)
        thePopulation->nextSize = n;
}

void SetPayoffs(int32_t p0, int32_t p1, int32_t p2, int32_t p3) {
    if (thePopulation)
        thePopulation->payoffs = {p0, p1, p2, p3};
}

void GetPayoffs(int32_t* p0, int32_t* p1, int32_t* p2, int32_t* p3) {
    const std::array<int32_t, 4> payoffs =
        thePopulation ? thePopulation->payoffs : std::array<int32_t, 4>{};
    Store(p0, payoffs[0]);
    Store(p1, payoffs[1]);
    Store(p2, payoffs[2]);
    Store(p3, payoffs[3]);
}

void SetRepParams(double mutation, double crossover) {
    if (!thePopulation)
        return;
    thePopulation->mutationRate = mutation;
    thePopulation->crossoverRate = crossover;
}

void GetRepParams(double* mutation, double* crossover) {
    Store(mutation, thePopulation ? thePopulation->mutationRate : 0.0);
    Store(crossover, thePopulation ? thePopulation->crossoverRate : 0.0);
}

void SetGameParams(int32_t games, int32_t sessions) {
    if (!thePopulation)
        return;
    thePopulation->gamesPerSession = games;
    thePopulation->sessionsPerGeneration = sessions;
}

void GetGameParams(int32_t* games, int32_t* sessions) {
    Store(games, thePopulation ? thePopulation->gamesPerSession : 0);
    Store(sessions, thePopulation ? thePopulation->sessionsPerGeneration : 0);
}

int32_t GetGene(int32_t member, int32_t bit) {
    if (!IsMember(member) || bit < 0 || bit >= population::kGenomeBits)
        return 0;
    return population::GetBit(thePopulation->Member(member), bit);
}

int32_t GetInitial(int32_t member) {
    return IsMember(member) ? population::InitialMemory(thePopulation->Member(member)) : 0;
}
