#include "RunCounts.h"

#include "Conversions.h"

#include <algorithm>
#include <cmath>

namespace cointoss {

bool GeneratedLength(std::string_view text, int32_t& n) {
    const double length = platform::RoundHalfEven(platform::Val(text));
    if (length > kMaxLength)
        return false;
    n = length > 0 ? static_cast<int32_t>(length) : 0;
    return true;
}

std::string Generate(int32_t n, const std::function<bool()>& coin) {
    std::string seq(static_cast<size_t>(std::max(n, 0)), '0');
    for (char& c : seq)
        if (coin())
            c = '1';
    return seq;
}

void RunCounts::CountRun(int32_t r) {
    if (counts_.size() <= static_cast<size_t>(r))
        counts_.resize(static_cast<size_t>(r) + 1, 0);
    ++counts_[r];
}

int32_t RunCounts::Count(std::string& seq) {
    std::fill(counts_.begin(), counts_.end(), 0);
    int32_t run = 0;
    int32_t longest = 0;
    auto endRun = [&] {
        if (run > 0) {
            CountRun(run);
            longest = std::max(longest, run);
            run = 0;
        }
    };
    // Characters other than "0" and "1" are deleted; the kept ones close up.
    size_t kept = 0;
    for (const char c : seq) {
        if (c == '0')
            endRun();
        else if (c == '1')
            ++run;
        else
            continue;
        seq[kept++] = c;
    }
    seq.resize(kept);
    endRun();
    return longest;
}

} // namespace cointoss
