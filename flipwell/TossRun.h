#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

// A run of N tosses of a fair coin and the running share of heads, sampled at
// 1001 evenly spread toss counts (after every toss when N <= 1001). The coin is
// the caller's: a function returning true for heads.

namespace flipwell {

inline constexpr int kSamples = 1001;
// The toss counter is a double: beyond 2^53, t + 1 == t and a run would never end.
inline constexpr double kMaxTosses = 9007199254740992.0;
// How often a run reports the samples taken, and how many tosses at most pass
// between two polls, so that the window answers also when samples are rare.
inline constexpr int kProgressEvery = 20;
inline constexpr int kPollEvery = 1 << 14;

// N as typed: the leading number of the text (0 when there is none), truncated
// towards zero; a negative value gives 0, a value beyond kMaxTosses kMaxTosses.
double TossCount(std::string_view text);

// The progress bar's maximum and the spacing of the samples for N tosses.
struct Sampling {
    int64_t progressMax;
    double spacing;
};
Sampling SamplingFor(double n);

struct TossResult {
    double heads = 0;
    double tosses = 0; // fewer than N when the run was ended
    int samples = 0;   // entries of the share array filled
};

// What a run tells its window, with the run so far: its tosses, their heads and
// the samples taken, all of the same moment. Sampled runs when the samples taken
// are a multiple of kProgressEvery; Poll at least every kPollEvery tosses.
// Either returning false ends the run at once.
class TossProgress {
public:
    virtual ~TossProgress() = default;
    virtual bool Sampled(const TossResult& sofar) = 0;
    virtual bool Poll(const TossResult& sofar) = 0;
};

// Sample k is the share of heads after the integer part of (k + 1) * spacing tosses.
template <class Coin>
TossResult RunTosses(double n, std::array<double, kSamples>& share, Coin&& coin, TossProgress& progress) {
    const Sampling sampling = SamplingFor(n);
    TossResult r;
    double next = std::floor(sampling.spacing); // the toss of the next sample
    int untilPoll = kPollEvery;
    for (double t = 1; t <= n; t += 1) {
        if (coin())
            r.heads += 1;
        r.tosses = t;
        if (next == t && r.samples < kSamples) {
            share[r.samples] = r.heads / t;
            ++r.samples;
            next = std::floor((r.samples + 1) * sampling.spacing);
            if (r.samples % kProgressEvery == 0) {
                untilPoll = kPollEvery;
                if (!progress.Sampled(r))
                    break;
                continue;
            }
        }
        if (--untilPoll == 0) {
            untilPoll = kPollEvery;
            if (!progress.Poll(r))
                break;
        }
    }
    return r;
}

} // namespace flipwell
