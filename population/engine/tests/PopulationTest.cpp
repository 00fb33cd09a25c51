// The Population library through its exports, bound by name as a program
// binds them, against a plain step-by-step reference of the algorithm.

#include "Population.h"

#include "LibraryBinding.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <dlfcn.h>
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
        int k = 0;
        while (u > q[k])
            ++k;
        return k;
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
    };
    for (const auto& scenario : scenarios) {
        Genomes runs[2];
        for (Genomes& run : runs)
            OnFreshThread([&] {
                Initialize_();
                NewPop_(scenario.size);
                SetParams(scenario.params);
                Reset_();
                for (int nextSize : scenario.nextSizes) {
                    SetSize_(nextSize);
                    Step_();
                }
                run = Snapshot();
            });
        Reference reference;
        reference.NewPop(scenario.size);
        reference.NewPop(scenario.size); // Reset draws the genomes again
        for (int nextSize : scenario.nextSizes)
            reference.Step(nextSize, scenario.params);
        EXPECT_EQ(runs[0], runs[1]) << scenario.name;
        EXPECT_EQ(runs[0], reference.members) << scenario.name;
    }
}

TEST(PopulationTest, NewPopGivesRandomGenomesAndTheSizeChangesAtTheNextStep) {
    OnFreshThread([] {
        Reference reference;
        reference.NewPop(64);
        NewPop_(64);
        EXPECT_EQ(Snapshot(), reference.members);
        for (int m = 0; m < 64; ++m)
            EXPECT_EQ(GetInitial_(m), Reference::Initial(reference.members[m]));
        SetParams({});
        SetSize_(10);
        EXPECT_EQ(GetSize_(), 64);
        Step_();
        EXPECT_EQ(GetSize_(), 10);
    });
}

TEST(PopulationTest, ChildrenCopyMemberZeroWithoutGamesAndTheirFirstParentWithoutRates) {
    for (const auto& [games, sessions] : {std::pair{0, 4}, {50, 0}, {50, 4}}) {
        NewPop_(30);
        SetParams({{1, 0, 20, 10}, games, sessions, 0, 0});
        const Genomes parents = Snapshot();
        SetSize_(50);
        Step_();
        for (const Genome& child : Snapshot()) {
            if (games == 0 || sessions == 0)
                EXPECT_EQ(child, parents[0]);
            else
                EXPECT_NE(std::find(parents.begin(), parents.end(), child), parents.end());
        }
    }
}

TEST(PopulationTest, OnlyADrawOf32767EscapesRateOneAndOnlyADrawOf0MeetsATinyRate) {
    // Without sessions every child is member 0 with the flips of its last 70 of 142 draws.
    for (const double rate : {1.0, 1e-12}) {
        OnFreshThread([rate] {
            Reference reference;
            reference.NewPop(1);
            NewPop_(1);
            SetParams({{1, 0, 20, 10}, 50, 0, rate, 0});
            SetSize_(2000);
            Step_();
            int ends = 0;
            for (const Genome& child : Snapshot()) {
                for (int i = 0; i < 72; ++i)
                    reference.Draw();
                for (int i = 0; i < 70; ++i) {
                    const int draw = reference.Draw();
                    const bool end = draw == (rate == 1 ? 32767 : 0);
                    EXPECT_EQ(child[i] != reference.members[0][i], rate == 1 ? !end : end);
                    ends += end;
                }
            }
            EXPECT_GT(ends, 0);
        });
    }
}

TEST(PopulationTest, NoPopulationEmptyPopulationAndBadIndexesAreHarmless) {
    Initialize_();
    Finalize_();
    Step_();
    Reset_();
    SetSize_(5);
    SetParams({});
    int32_t p[4] = {9, 9, 9, 9}, games = 9, sessions = 9;
    double rates[2] = {9, 9};
    GetPayoffs_(&p[0], &p[1], &p[2], &p[3]);
    GetGameParams_(&games, &sessions);
    GetRepParams_(&rates[0], &rates[1]);
    GetPayoffs_(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(p[0] + p[1] + p[2] + p[3] + games + sessions + rates[0] + rates[1], 0);
    EXPECT_EQ(GetSize_() + GetGene_(0, 0) + GetInitial_(0), 0);
    for (const int32_t n : {0, -3}) {
        NewPop_(n);
        Step_();
        EXPECT_EQ(GetSize_(), 0);
    }
    NewPop_(5);
    SetParams({});
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

TEST(PopulationTest, ExportsNothingButItsEntries) {
    void* library = ::dlopen(POPULATION_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(::dlsym(library, "_ZN10population15ThreadGeneratorEv"), nullptr);
    ::dlclose(library);
}

} // namespace
