// The Population library through its exports, bound by name as a program
// binds them, against a plain step-by-step reference of the algorithm.

#include "Population.h"

#include "LibraryBinding.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <utility>
#include <vector>

namespace {

#define BIND(function, entry)                                                                      \
    platform::BoundFunction<decltype(::function)> function##_(POPULATION_PATH, entry)
BIND(Initialize, "_Z10Initializev");
BIND(Finalize, "_Z8Finalizev");
BIND(NewPop, "_Z6NewPopi");
BIND(Reset, "_Z5Resetv");
BIND(Step, "_Z4Stepv");
BIND(GetSize, "_Z7GetSizev");
BIND(SetSize, "_Z7SetSizei");
BIND(SetPayoffs, "_Z10SetPayoffsiiii");
BIND(GetPayoffs, "_Z10GetPayoffsPiS_S_S_");
BIND(SetRepParams, "_Z12SetRepParamsdd");
BIND(GetRepParams, "_Z12GetRepParamsPdS_");
BIND(SetGameParams, "_Z13SetGameParamsii");
BIND(GetGameParams, "_Z13GetGameParamsPiS_");
BIND(GetGene, "_Z7GetGeneii");
BIND(GetInitial, "_Z10GetInitiali");
#undef BIND

using Genome = std::array<int, 70>;
using Genomes = std::vector<Genome>;

struct Params {
    std::array<int32_t, 4> payoffs{1, 0, 20, 10};
    int32_t games = 50, sessions = 4;
    double mutation = 1.0 / 70, crossover = 2.0 / 70;
    bool operator==(const Params&) const = default;
};

// The algorithm as written, bit by bit, with linear searches.
struct Reference {
    uint32_t state = 1;
    Genomes members;

    int Draw() {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
    }
    double U() { return Draw() * (1.0 / 32767); }
    static int Initial(const Genome& g) {
        int h = 0;
        for (int k = 0; k < 6; ++k)
            h |= g[64 + k] << k;
        return h;
    }
    void NewPop(int n) {
        members.assign(n, Genome{});
        for (Genome& g : members)
            for (int byte = 0; byte < 9; ++byte) {
                const int bits = Draw() & (byte == 8 ? 0x3F : 0xFF);
                for (int k = 0; k < 8 && byte * 8 + k < 70; ++k)
                    g[byte * 8 + k] = (bits >> k) & 1;
            }
    }
    int Roulette(const std::vector<double>& q) {
        const double u = U();
        return int(std::find_if(q.begin(), q.end(), [u](double w) { return u <= w; }) - q.begin());
    }
    void Step(int nextSize, const Params& p) {
        const int count = int(members.size());
        std::vector<uint32_t> score(count, 0); // wraps as 32-bit signed scores do
        for (int s = 0; s < p.sessions; ++s) {
            std::vector<bool> drawn(count, false);
            for (int i = 0; i < count; ++i) {
                int n = Draw() % (count - i), j = 0;
                while (drawn[j] || n-- > 0)
                    ++j;
                drawn[j] = true;
                int hA = Initial(members[i]), hB = Initial(members[j]);
                for (int g = 0; g < p.games; ++g) {
                    const int a = members[i][hA], b = members[j][hB];
                    score[i] += uint32_t(p.payoffs[b * 2 + a]);
                    score[j] += uint32_t(p.payoffs[a * 2 + b]);
                    hA = ((hA & 15) * 4) | (a * 2 + b);
                    hB = ((hB & 15) * 4) | (b * 2 + a);
                }
            }
        }
        int32_t max = 0;
        for (uint32_t s : score)
            max = std::max(max, int32_t(s));
        std::vector<double> q(count);
        for (int i = 0; i < count; ++i)
            q[i] = (i ? q[i - 1] : 1.0) + max - int32_t(score[i]);
        for (double& w : q)
            w /= q[count - 1];
        Genomes children(nextSize);
        for (Genome& child : children) {
            const Genome* parents[2] = {&members[Roulette(q)], &members[Roulette(q)]};
            for (int i = 0, from = 0; i < 70; ++i) {
                from ^= U() < p.crossover;
                child[i] = (*parents[from])[i];
            }
            for (int i = 0; i < 70; ++i)
                child[i] ^= U() < p.mutation;
        }
        members = children;
    }
};

void SetParams(const Params& p) {
    SetPayoffs_(p.payoffs[0], p.payoffs[1], p.payoffs[2], p.payoffs[3]);
    SetGameParams_(p.games, p.sessions);
    SetRepParams_(p.mutation, p.crossover);
}

Params ReadParams() {
    Params p{{9, 9, 9, 9}, 9, 9, 9, 9};
    GetPayoffs_(&p.payoffs[0], &p.payoffs[1], &p.payoffs[2], &p.payoffs[3]);
    GetGameParams_(&p.games, &p.sessions);
    GetRepParams_(&p.mutation, &p.crossover);
    return p;
}

Genomes Snapshot() {
    Genomes genomes(GetSize_());
    for (int m = 0; m < int(genomes.size()); ++m)
        for (int b = 0; b < 70; ++b)
            genomes[m][b] = GetGene_(m, b);
    return genomes;
}

// The generator starts at 1 on every thread, so each run gets its own.
template <typename Run> void OnFreshThread(Run run) {
    std::thread(run).join();
}

TEST(PopulationTest, GenerationsMatchTheReferenceAndRepeat) {
    const struct {
        const char* name;
        int size;
        Params params;
        std::vector<int> nextSizes; // one Step each
    } scenarios[] = {
        {"defaults", 12, {}, {12, 12, 12}},
        {"one member", 1, {}, {1, 3, 2}},
        {"size changes", 9, {}, {9, 4, 15}},
        {"no games", 10, {{1, 0, 20, 10}, 0, 4, 0.1, 0.3}, {10, 10}},
        {"rates 1", 40, {{1, 0, 20, 10}, 5, 2, 1, 1}, {40, 40}},
        {"charge own 0, partner 0", 16, {{7, 0, 0, 0}, 10, 1, 0, 0}, {16}},
        {"charge own 1, partner 0", 16, {{0, 7, 0, 0}, 10, 1, 0, 0}, {16}},
        {"charge own 0, partner 1", 16, {{0, 0, 7, 0}, 10, 1, 0, 0}, {16}},
        {"charge own 1, partner 1", 16, {{0, 0, 0, 7}, 10, 1, 0, 0}, {16}},
        {"scores wrap", 20, {{INT32_MAX, 3, INT32_MAX, 1}, 40, 3, 0.1, 0.2}, {20, 20}},
        {"mixed signs", 20, {{-5, 2, -9, 0}, 12, 2, 0.05, 0.1}, {20}},
        {"only gains", 20, {{-5, -1, -9, -2}, 12, 2, 0.05, 0.1}, {20}},
        // Some of the 60,000 parent draws give u = 1, which picks member 0, the first weight of 1.
        {"equal weights", 10, {{1, 0, 20, 10}, 0, 1, 0, 0.5}, {30000}},
        // Among the 140,000 mutation draws, only a draw of 32767 escapes a rate of 1, and only
        // a draw of 0 meets a rate far below one step of the generator.
        {"rate 1", 1, {{1, 0, 20, 10}, 50, 0, 1, 0}, {2000}},
        {"tiny rate", 1, {{1, 0, 20, 10}, 50, 0, 1e-12, 0}, {2000}},
    };
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        Genomes first, runs[2];
        for (Genomes& run : runs)
            OnFreshThread([&] {
                Initialize_();
                NewPop_(scenario.size);
                first = Snapshot();
                SetParams(scenario.params);
                Reset_();
                for (int nextSize : scenario.nextSizes) {
                    const int32_t size = GetSize_();
                    SetSize_(nextSize);
                    EXPECT_EQ(GetSize_(), size) << "the size changes at the next Step";
                    Step_();
                }
                run = Snapshot();
                for (int m = 0; m < GetSize_(); ++m)
                    EXPECT_EQ(GetInitial_(m), Reference::Initial(run[m]));
            });
        Reference reference;
        reference.NewPop(scenario.size);
        EXPECT_EQ(first, reference.members);
        reference.NewPop(scenario.size); // Reset draws the genomes again
        for (int nextSize : scenario.nextSizes)
            reference.Step(nextSize, scenario.params);
        EXPECT_EQ(runs[0], runs[1]);
        EXPECT_EQ(runs[0], reference.members);
    }
}

TEST(PopulationTest, NoPopulationEmptyPopulationAndBadIndexesAreHarmless) {
    for (const auto forget : {+[] { Initialize_(); }, +[] { Finalize_(); }}) {
        NewPop_(3);
        forget();
        EXPECT_EQ(GetSize_(), 0);
    }
    Step_();
    Reset_();
    SetSize_(5);
    SetParams({});
    EXPECT_EQ(ReadParams(), (Params{{0, 0, 0, 0}, 0, 0, 0, 0}));
    GetPayoffs_(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetSize_() + GetGene_(0, 0) + GetInitial_(0), 0);
    for (const int32_t n : {0, -3}) {
        NewPop_(n);
        Step_();
        EXPECT_EQ(GetSize_(), 0);
    }
    NewPop_(5);
    const Params set{{4, -3, 2, 1}, 7, 9, 0.25, 0.5};
    SetParams(set);
    EXPECT_EQ(ReadParams(), set);
    const Genomes before = Snapshot();
    for (const int32_t nextSize : {0, -1, INT_MIN}) {
        SetSize_(nextSize);
        Step_();
        EXPECT_EQ(Snapshot(), before);
    }
    for (const auto& [member, bit] :
         {std::pair{-1, 0}, {5, 0}, {INT_MIN, 3}, {0, -1}, {0, 70}, {0, 71}, {0, INT_MAX}})
        EXPECT_EQ(GetGene_(member, bit), 0);
    EXPECT_EQ(GetInitial_(5) + GetInitial_(-1), 0);
    Finalize_();
}

TEST(PopulationTest, ASizeTheLibraryCannotHoldLeavesNoPopulation) {
    const std::function<void()> oversized[] = {
        [] { NewPop_(INT_MAX); },
        [] { SetSize_(INT_MAX), Step_(); },
    };
    for (const auto& call : oversized) {
        NewPop_(3);
        SetParams({});
        call();
        EXPECT_EQ(GetSize_(), 0);
        EXPECT_EQ(ReadParams(), (Params{{0, 0, 0, 0}, 0, 0, 0, 0}));
        Step_();
        EXPECT_EQ(GetSize_() + GetGene_(0, 0), 0);
        NewPop_(2);
        EXPECT_EQ(GetSize_(), 2);
    }
    // Far beyond what a window shows is still a population.
    Params quick;
    quick.games = quick.sessions = 1;
    NewPop_(100000);
    SetParams(quick);
    SetSize_(150000);
    Step_();
    EXPECT_EQ(GetSize_(), 150000);
    Finalize_();
}

TEST(PopulationTest, ExportsNothingButItsEntries) {
    void* library = ::dlopen(POPULATION_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(::dlsym(library, "_ZN10population15ThreadGeneratorEv"), nullptr);
    ::dlclose(library);
}

} // namespace
