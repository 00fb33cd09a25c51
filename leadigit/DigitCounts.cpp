#include "DigitCounts.h"

namespace leadigit {

int FirstSignificantDigit(std::string_view value) {
    if (value.empty())
        return 0;
    size_t at = 0;
    while (at + 1 < value.size()) {
        const char c = value[at];
        if (c != '0' && c != '.' && c != '-' && c != ',' && c != ' ')
            break;
        ++at;
    }
    const char first = value[at];
    return first >= '1' && first <= '9' ? first - '0' : 0;
}

void DigitCounts::Count(const std::vector<NumberRow>& rows) {
    counts_.fill(0);
    for (const NumberRow& row : rows)
        ++counts_[FirstSignificantDigit(row.value)];
}

int32_t DigitCounts::Total() const {
    int32_t total = 0;
    for (int d = 1; d <= 9; ++d)
        total += counts_[d];
    return total;
}

std::string DigitCounts::StatusText() const {
    const int32_t total = Total();
    if (total < 1)
        return "No data";
    return std::to_string(total) + " non-zero values";
}

} // namespace leadigit
