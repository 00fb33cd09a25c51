#pragma once

#include "CharacterSettings.h"
#include "LetterStatistics.h"
#include "RuntimeRandom.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Random text that imitates an analysed text: a second-order chain in which each
// new character is drawn from the third characters that followed the last two in
// the text, the first two drawn from the pair frequencies. Each draw is one value
// r of the runtime's generator; a walk over the weights in index order takes the
// first index whose weight is at least what is left of r, and never one whose
// weight is 0. The text ends early at a pair that never occurred in the text.

namespace scrivel {

// The most characters one generation writes.
inline constexpr int32_t kMaxRandomCharacters = 1'000'000;

enum class CharacterCount {
    Empty,   // no answer: nothing to do, nothing to say
    TooFew,  // 2 or less, or no number
    TooMany, // above kMaxRandomCharacters
    Valid,
};

// The answer to "Characters to generate?": its leading decimal number rounded to
// an integer, in count when Valid.
CharacterCount ReadCharacterCount(std::string_view answer, int32_t& count);

// T(a, b, c): the share of the triplets starting with the pair (a, b) that end in
// c; 0 for every c when the pair starts none. Holds the row sums, not n^3 values.
class TransitionTable {
public:
    explicit TransitionTable(const LetterStatistics& statistics);
    double T(int a, int b, int c) const;

private:
    const LetterStatistics& statistics_;
    std::vector<double> rowSums_;
};

// The first pair for the draw r: the pairs in row order weighted by their share of
// TotalPairs. When rounding leaves r above all weights, the last pair that occurred.
// Needs TotalPairs > 0.
std::pair<int, int> FirstPair(const LetterStatistics& statistics, double r);

// The character after the pair (a, b) for the draw r; the last index n - 1 when no
// earlier one is taken (also in a row of zeros).
int NextCharacter(const TransitionTable& table, int size, int a, int b, double r);

// A text of at most count codes (count 3 to kMaxRandomCharacters), drawn with
// random; empty when the statistics hold no triplet. The statistics' alphabet is
// the one of settings.
std::string GenerateRandomText(const LetterStatistics& statistics,
                               const CharacterSettings& settings, int32_t count,
                               platform::RuntimeRandom& random);

} // namespace scrivel
