#include "PopulationState.h"

#include <algorithm>
#include <bit>
#include <new>

namespace population {

void RandomizeStrategy(Strategy& s, RandomGenerator& random) {
    for (uint8_t& byte : s.genome)
        byte = uint8_t(random.NextRandom());
    s.genome[8] &= kInitialMask;
}

namespace {

// Bit i of the result is the parity of bits 0 to i of x.
uint64_t PrefixParity(uint64_t x) {
    for (int shift = 1; shift < 64; shift *= 2)
        x ^= x << shift;
    return x;
}

constexpr int kHighBits = kGenomeBits - kResponseBits;
constexpr uint32_t kHighMask = (1u << kHighBits) - 1;

} // namespace

void Crossover(const Strategy& p, const Strategy& q, int32_t switchBelow, RandomGenerator& random,
               Strategy& child) {
    // A bit comes from q when an odd number of switches happened up to it.
    const uint64_t fromQ = PrefixParity(random.NextMask(switchBelow, kResponseBits));
    uint32_t fromQHigh = uint32_t(PrefixParity(random.NextMask(switchBelow, kHighBits)));
    if (fromQ >> 63)
        fromQHigh ^= kHighMask;
    fromQHigh &= kHighMask;
    const uint64_t pTable = ResponseTable(p);
    SetResponseTable(child, pTable ^ ((pTable ^ ResponseTable(q)) & fromQ));
    child.genome[8] = uint8_t(p.genome[8] ^ ((p.genome[8] ^ q.genome[8]) & fromQHigh));
    child.score = 0;
}

void Mutate(Strategy& child, int32_t flipBelow, RandomGenerator& random) {
    const uint64_t flips = random.NextMask(flipBelow, kResponseBits);
    const uint32_t flipsHigh = uint32_t(random.NextMask(flipBelow, kHighBits));
    SetResponseTable(child, ResponseTable(child) ^ flips);
    child.genome[8] = uint8_t(child.genome[8] ^ flipsHigh);
}

namespace {

void CheckSize(int32_t n) {
    if (n > PopulationState::kMaxMembers)
        throw std::bad_alloc();
}

} // namespace

PopulationState::PopulationState(int32_t n, RandomGenerator& random) : nextSize(n) {
    CheckSize(n);
    members_.resize(size_t(std::max(n, 0)));
    for (Strategy& member : members_)
        RandomizeStrategy(member, random);
}

void PopulationState::Reset(RandomGenerator& random) {
    for (Strategy& member : members_)
        RandomizeStrategy(member, random);
}

template <int kSeries>
void PopulationState::PlaySeries(Strategy* const* first, Strategy* const* second) const {
    if (gamesPerSession <= 0)
        return;
    uint64_t tableA[kSeries], tableB[kSeries];
    uint32_t memoryA[kSeries], memoryB[kSeries], costA[kSeries], costB[kSeries];
    for (int s = 0; s < kSeries; ++s) {
        tableA[s] = ResponseTable(*first[s]);
        tableB[s] = ResponseTable(*second[s]);
        memoryA[s] = uint32_t(InitialMemory(*first[s]));
        memoryB[s] = uint32_t(InitialMemory(*second[s]));
        costA[s] = costB[s] = 0;
    }
    for (int32_t game = 0; game < gamesPerSession; ++game) {
#pragma GCC unroll 4
        for (int s = 0; s < kSeries; ++s) {
            const uint32_t moveA = uint32_t(tableA[s] >> memoryA[s]) & 1;
            const uint32_t moveB = uint32_t(tableB[s] >> memoryB[s]) & 1;
            costA[s] += uint32_t(payoffs[moveB * 2 + moveA]);
            costB[s] += uint32_t(payoffs[moveA * 2 + moveB]);
            memoryA[s] = ((memoryA[s] & 15) << 2) | (moveA << 1) | moveB;
            memoryB[s] = ((memoryB[s] & 15) << 2) | (moveB << 1) | moveA;
        }
    }
    // Summing a series first gives the same wrapped score as adding game by game.
    for (int s = 0; s < kSeries; ++s) {
        AddCost(*first[s], costA[s]);
        AddCost(*second[s], costB[s]);
    }
}

void PopulationState::PlayGame(Strategy& a, Strategy& b) const {
    Strategy* const first[] = {&a};
    Strategy* const second[] = {&b};
    PlaySeries<1>(first, second);
}

void PopulationState::RunSession(RandomGenerator& random) {
    const int32_t count = Count();
    // Every index starts undrawn: node j of the tree counts the lowest set bit of j indexes.
    // Nodes past count hold more than any rank, so the search below needs no bounds test.
    const int32_t top = int32_t(std::bit_floor(uint32_t(count)));
    undrawn_.assign(size_t(top) * 2, INT32_MAX);
    for (int32_t j = 1; j <= count; ++j)
        undrawn_[size_t(j)] = j & -j;
    partners_.resize(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        // The partner is the (n+1)-th index not yet drawn, counting upwards.
        int32_t rank = random.NextRandom() % (count - i) + 1;
        int32_t partner = 0;
        for (int32_t step = top; step > 0; step >>= 1) {
            const int32_t node = undrawn_[size_t(partner + step)];
            const bool below = node < rank;
            partner += below ? step : 0;
            rank -= below ? node : 0;
        }
        for (int32_t j = partner + 1; j <= count; j += j & -j)
            --undrawn_[size_t(j)];
        partners_[size_t(i)] = partner;
    }
    // The series of one session are independent of each other, and two played side by side
    // keep the processor busy while each waits on its last game.
    int32_t i = 0;
    for (; i + 1 < count; i += 2) {
        Strategy* const first[] = {&members_[size_t(i)], &members_[size_t(i) + 1]};
        Strategy* const second[] = {&members_[size_t(partners_[size_t(i)])],
                                    &members_[size_t(partners_[size_t(i) + 1])]};
        PlaySeries<2>(first, second);
    }
    if (i < count)
        PlayGame(members_[size_t(i)], members_[size_t(partners_[size_t(i)])]);
}

int32_t PopulationState::Pick(double u) const {
    // The lowest index whose weight reaches u, by a search without branches (the weights never
    // decrease).
    const double* base = weights_.data();
    size_t n = weights_.size();
    while (n > 1) {
        const size_t half = n / 2;
        base = base[half] < u ? base + half : base;
        n -= half;
    }
    const size_t index = size_t(base - weights_.data()) + (*base < u ? 1 : 0);
    return int32_t(std::min(index, weights_.size() - 1));
}

void PopulationState::StepGeneration(RandomGenerator& random) {
    const int32_t count = Count();
    if (count < 1 || nextSize < 1)
        return;
    CheckSize(nextSize);
    for (Strategy& member : members_)
        member.score = 0;
    for (int32_t session = 0; session < sessionsPerGeneration; ++session)
        RunSession(random);

    int32_t max = 0;
    for (const Strategy& member : members_)
        max = std::max(max, member.score);
    // Cumulative weights on inverse cost; the +1 on member 0 alone keeps the total at least 1.
    weights_.resize(size_t(count));
    double total = double(max) - double(members_[0].score) + 1;
    weights_[0] = total;
    for (int32_t i = 1; i < count; ++i) {
        total = total + double(max) - double(members_[size_t(i)].score);
        weights_[size_t(i)] = total;
    }
    for (double& weight : weights_)
        weight /= total;

    const int32_t switchBelow = ResultsBelow(crossoverRate);
    const int32_t flipBelow = ResultsBelow(mutationRate);
    children_.resize(size_t(nextSize));
    for (Strategy& child : children_) {
        const int32_t k = Pick(Uniform(random.NextRandom()));
        const int32_t l = Pick(Uniform(random.NextRandom()));
        Crossover(members_[size_t(k)], members_[size_t(l)], switchBelow, random, child);
        Mutate(child, flipBelow, random);
    }
    members_.swap(children_);
}

} // namespace population
