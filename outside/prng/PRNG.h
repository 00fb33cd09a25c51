#pragma once

#include <cstdint>

// The exports of libPRNG.so, our own library in place of the outside library PRNG: uniform
// random numbers from one process-wide xoshiro256** generator, with the full 53-bit resolution
// of a double. It is seeded at the first call from the environment variable VERITOPE_PRNG_SEED
// when that holds a decimal number from 0 to 2^64 - 1, so that a run can be repeated, and from
// the operating system's entropy otherwise. Calls come from one thread at a time. A program binds
// these functions by their exported names and takes their types from these declarations.

#define PRNG_EXPORT __attribute__((visibility("default")))

// Uniform in (0, 1): never 0, never 1, and >= 0.5 with probability exactly one half.
PRNG_EXPORT double PRNGOpenDouble();
// Uniform in [0, 1], both ends reachable.
PRNG_EXPORT double PRNGClosedDouble();
// Uniform over the 32-bit integers.
PRNG_EXPORT uint32_t PRNGUnsignedLong();
// Starts the sequence that VERITOPE_PRNG_SEED = seed gives; for tests that need several
// sequences in one process. No program calls it.
PRNG_EXPORT void PRNGSetSeed(uint64_t seed);
