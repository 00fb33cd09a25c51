#pragma once

#include "LibraryBinding.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// The outside library PRNG as the programs call it: its three functions bound by their exported
// names from "PRNG.dll" (libPRNG.so in the program's folder) on their first call, or all at once
// by BindLibrary(kPrngLibrary) at start-up, the addresses kept. A missing library or entry goes to
// the binding failure handler. While a ScriptedDraws lives, the draws come from its script
// instead, so that a test decides every draw.

namespace platform {

inline constexpr const char* kPrngLibrary = "PRNG.dll";

// The draws a test decides. The doubles serve PRNGOpenDouble and PRNGClosedDouble, the words
// PRNGUnsignedLong, each list in call order and from its start again once used up; an empty list
// leaves its functions to the library. The newest script in force wins; the one before it comes
// back when it ends. A script takes no draw from the library.
class ScriptedDraws {
public:
    explicit ScriptedDraws(std::vector<double> doubles, std::vector<uint32_t> words = {})
        : doubles_(std::move(doubles)), words_(std::move(words)), previous_(Current()) {
        Current() = this;
    }
    ScriptedDraws(const ScriptedDraws&) = delete;
    ScriptedDraws& operator=(const ScriptedDraws&) = delete;
    ~ScriptedDraws() { Current() = previous_; }

    // How many draws the script has given.
    size_t DoublesTaken() const { return doublesTaken_; }
    size_t WordsTaken() const { return wordsTaken_; }

    // The script in force, or nullptr.
    static ScriptedDraws*& Current() {
        static ScriptedDraws* current = nullptr;
        return current;
    }

    bool NextDouble(double& draw) {
        if (doubles_.empty()) {
            return false;
        }
        draw = doubles_[doublesTaken_++ % doubles_.size()];
        return true;
    }
    bool NextWord(uint32_t& draw) {
        if (words_.empty()) {
            return false;
        }
        draw = words_[wordsTaken_++ % words_.size()];
        return true;
    }

private:
    std::vector<double> doubles_;
    std::vector<uint32_t> words_;
    size_t doublesTaken_ = 0;
    size_t wordsTaken_ = 0;
    ScriptedDraws* previous_;
};

namespace prng_binding {
inline BoundFunction<double()> OpenDouble{kPrngLibrary, "_Z14PRNGOpenDoublev"};
inline BoundFunction<double()> ClosedDouble{kPrngLibrary, "_Z16PRNGClosedDoublev"};
inline BoundFunction<uint32_t()> UnsignedLong{kPrngLibrary, "_Z16PRNGUnsignedLongv"};
} // namespace prng_binding

// Uniform in (0, 1), never 0 or 1; >= 0.5 with probability one half.
inline double PRNGOpenDouble() {
    double draw;
    ScriptedDraws* script = ScriptedDraws::Current();
    return script && script->NextDouble(draw) ? draw : prng_binding::OpenDouble();
}

// Uniform in [0, 1], both ends reachable.
inline double PRNGClosedDouble() {
    double draw;
    ScriptedDraws* script = ScriptedDraws::Current();
    return script && script->NextDouble(draw) ? draw : prng_binding::ClosedDouble();
}

// Uniform over the 32-bit integers.
inline uint32_t PRNGUnsignedLong() {
    uint32_t draw;
    ScriptedDraws* script = ScriptedDraws::Current();
    return script && script->NextWord(draw) ? draw : prng_binding::UnsignedLong();
}

// For tests: starts the library's sequence for a seed, as its variable VERITOPE_PRNG_SEED does.
// Bound at its first call only, so that a program binding the library at start-up asks for the
// three functions alone.
inline void PRNGSetSeed(uint64_t seed) {
    static const BoundFunction<void(uint64_t)> setSeed{kPrngLibrary, "_Z11PRNGSetSeedm"};
    setSeed(seed);
}

} // namespace platform
