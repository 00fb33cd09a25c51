#pragma once

#include "RandomGenerator.h"
#include "Strategy.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// One population of strategies for the iterated two-player dilemma game, bred
// generation by generation with a genetic algorithm: every member plays
// series of games against partners paired at random, accumulating the
// payoffs charged to it as a cost (lower is better); the next generation is
// bred by roulette selection on inverse cost, bit-wise crossover and bit-wise
// mutation. Every draw comes from the generator the caller passes, in a fixed
// order, so the same calls with the same generator state repeat exactly.

namespace population {

// Nine draws, one per genome byte; the two high bits of byte 8 are cleared.
void RandomizeStrategy(Strategy& s, RandomGenerator& random);

// child = p's bits, switching to the other parent before any bit whose draw
// is below switchBelow (see ResultsBelow); 70 draws. The score is set to 0.
void Crossover(const Strategy& p, const Strategy& q, int32_t switchBelow, RandomGenerator& random,
               Strategy& child);

// Inverts every genome bit whose draw is below flipBelow; 70 draws. The two
// high bits of byte 8 are never touched.
void Mutate(Strategy& child, int32_t flipBelow, RandomGenerator& random);

class PopulationState {
public:
    // The most members a generation may have; a generation of one member
    // more than this, like any other allocation that fails, throws
    // std::bad_alloc.
    static constexpr int32_t kMaxMembers = 1 << 24;

    // n random strategies (none when n < 1), nine draws per member in index
    // order; count = nextSize = n. The payoffs, game parameters and rates
    // start at 0 until set.
    PopulationState(int32_t n, RandomGenerator& random);

    int32_t Count() const { return int32_t(members_.size()); }
    const Strategy& Member(int32_t i) const { return members_[size_t(i)]; }

    // A new random genome for every member, in index order.
    void Reset(RandomGenerator& random);

    // One generation: scores to 0, the sessions, then nextSize children bred
    // from the members. Does nothing when there is no member or nextSize < 1.
    // When it throws, the members are no longer a population to go on with.
    void StepGeneration(RandomGenerator& random);

    // The series of gamesPerSession games between a and b (which may be the
    // same member, whose score then takes both players' costs). Scores add
    // in 32-bit arithmetic that wraps on overflow.
    void PlayGame(Strategy& a, Strategy& b) const;

    // Pairs every member i, in index order, with a partner drawn without
    // replacement, and plays their series.
    void RunSession(RandomGenerator& random);

    int32_t nextSize = 0;
    // Entry i is charged to a player whose own move is i mod 2 and whose
    // partner's move is i div 2.
    std::array<int32_t, 4> payoffs{};
    int32_t gamesPerSession = 0;
    int32_t sessionsPerGeneration = 0;
    double mutationRate = 0;
    double crossoverRate = 0;

private:
    // The member of lowest index whose cumulative weight reaches u.
    int32_t Pick(double u) const;
    // kSeries series side by side, between first[s] and second[s].
    template <int kSeries> void PlaySeries(Strategy* const* first, Strategy* const* second) const;

    std::vector<Strategy> members_;
    // Kept between generations so that a step allocates nothing once grown.
    std::vector<Strategy> children_;
    std::vector<double> weights_;
    std::vector<int32_t> partners_;
    std::vector<int32_t> undrawn_; // Fenwick tree of the indexes not yet drawn as partners
};

} // namespace population
