#include "RandomText.h"

#include "Conversions.h"

#include <algorithm>

namespace scrivel {

CharacterCount ReadCharacterCount(std::string_view answer, int32_t& count) {
    if (answer.empty())
        return CharacterCount::Empty;
    const double value = platform::Val(answer);
    int32_t n = 0;
    if (!platform::ToInt32Rounded(value, n))
        return value > 0 ? CharacterCount::TooMany : CharacterCount::TooFew;
    if (n <= 2)
        return CharacterCount::TooFew;
    if (n > kMaxRandomCharacters)
        return CharacterCount::TooMany;
    count = n;
    return CharacterCount::Valid;
}

TransitionTable::TransitionTable(const LetterStatistics& statistics)
    : statistics_(statistics) {
    const size_t n = static_cast<size_t>(statistics.Size());
    const std::span<const double> triplets = statistics.TripletCounts();
    rowSums_.assign(n * n, 0.0);
    for (size_t ab = 0; ab < n * n; ++ab) {
        double s = 0;
        for (size_t c = 0; c < n; ++c)
            s += triplets[ab * n + c];
        rowSums_[ab] = s;
    }
}

double TransitionTable::T(int a, int b, int c) const {
    const double s = rowSums_[static_cast<size_t>(a) * statistics_.Size() + b];
    return s > 0 ? statistics_.TripletCount(a, b, c) / s : 0.0;
}

std::pair<int, int> FirstPair(const LetterStatistics& statistics, double r) {
    const int n = statistics.Size();
    const double total = statistics.TotalPairs();
    std::pair<int, int> last{0, 0};
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            const double x = statistics.PairCount(a, b) / total;
            if (!(x > 0))
                continue;
            if (x >= r)
                return {a, b};
            r -= x;
            last = {a, b};
        }
    }
    return last;
}

int NextCharacter(const TransitionTable& table, int size, int a, int b, double r) {
    int c = 0;
    while (c < size - 1) {
        const double t = table.T(a, b, c);
        if (t > 0 && t >= r)
            break;
        r -= t;
        ++c;
    }
    return c;
}

std::string GenerateRandomText(const LetterStatistics& statistics,
                               const CharacterSettings& settings, int32_t count,
                               platform::RuntimeRandom& random) {
    std::string text;
    const int n = statistics.Size();
    if (count < 3 || !(statistics.TotalTriplets() >= 1) || !(statistics.TotalPairs() > 0))
        return text;
    count = std::min(count, kMaxRandomCharacters);
    const TransitionTable table(statistics);
    auto [a, b] = FirstPair(statistics, random.Next());
    text.reserve(static_cast<size_t>(count));
    text += static_cast<char>(settings.Ind2Char(a));
    text += static_cast<char>(settings.Ind2Char(b));
    for (int32_t remaining = count - 2; remaining > 0; --remaining) {
        const int c = NextCharacter(table, n, a, b, random.Next());
        a = b;
        b = c;
        if (statistics.PairCount(a, b) == 0)
            break;
        text += static_cast<char>(settings.Ind2Char(c));
    }
    return text;
}

} // namespace scrivel
