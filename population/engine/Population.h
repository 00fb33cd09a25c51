#pragma once

#include <cstdint>

// The fifteen exports of the Population library (libPopulation.so), which
// holds one process-wide population of strategies and breeds it generation
// by generation. A client binds them by their exported names and takes their
// types from these declarations; it does not link against the library.
//
// Beyond what a client relies on: every export but Initialize, Finalize and
// NewPop does nothing without a population (the getters then give 0), Step
// does nothing with no member or a next size below 1, and GetGene and
// GetInitial give 0 for a member or bit outside the population. A
// population it cannot allocate (more than 2^24 members, from NewPop or from
// a Step breeding them) leaves the library without a population.

#define POPULATION_EXPORT __attribute__((visibility("default")))

// Forgets the population (and frees it).
POPULATION_EXPORT void Initialize();
// Frees the population; the library then holds none.
POPULATION_EXPORT void Finalize();
// Replaces the population by n random strategies; the size of the next
// generation is n too. Payoffs, game parameters and rates start at 0.
POPULATION_EXPORT void NewPop(int32_t n);
// A new random genome for every member, in index order.
POPULATION_EXPORT void Reset();
// Plays and breeds one generation.
POPULATION_EXPORT void Step();
// The size of the current generation.
POPULATION_EXPORT int32_t GetSize();
// The size of the generations bred from the next Step on.
POPULATION_EXPORT void SetSize(int32_t n);
// The cost charged per game to a player whose own move is i mod 2 and whose
// partner's move is i div 2, for i = 0 to 3 in argument order.
POPULATION_EXPORT void SetPayoffs(int32_t p0, int32_t p1, int32_t p2, int32_t p3);
POPULATION_EXPORT void GetPayoffs(int32_t* p0, int32_t* p1, int32_t* p2, int32_t* p3);
// Per-bit probabilities of mutation and crossover.
POPULATION_EXPORT void SetRepParams(double mutation, double crossover);
POPULATION_EXPORT void GetRepParams(double* mutation, double* crossover);
// Games in the series two paired members play, and sessions per generation.
POPULATION_EXPORT void SetGameParams(int32_t games, int32_t sessions);
POPULATION_EXPORT void GetGameParams(int32_t* games, int32_t* sessions);
// Genome bit 0 to 69 of a member, 0 or 1: bits 0 to 63 the response to each
// memory, bits 64 to 69 the initial memory.
POPULATION_EXPORT int32_t GetGene(int32_t member, int32_t bit);
// The member's initial memory, 0 to 63.
POPULATION_EXPORT int32_t GetInitial(int32_t member);
