#pragma once

// A hot function compiled once more for each named kind of x86-64 processor,
// the build to run chosen when the library loads; elsewhere, or with a
// compiler that lacks the attribute's forms, compiled once.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define LIFE_CLONES_FOR_LATER_PROCESSORS __attribute__((target_clones("arch=x86-64-v3", "default")))
#define LIFE_CLONES_FOR_BIT_COUNTS __attribute__((target_clones("arch=x86-64-v3", "popcnt", "default")))
#else
#define LIFE_CLONES_FOR_LATER_PROCESSORS
#define LIFE_CLONES_FOR_BIT_COUNTS
#endif
