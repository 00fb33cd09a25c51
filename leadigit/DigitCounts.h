#pragma once

#include "NumberSources.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace leadigit {

// The first significant digit of a value text: leading "0", ".", "-", "," and
// blanks are passed over, but never the last character; the character reached
// counts when it is "1" to "9". Anything else (a "0", a sign "+", a letter, an
// empty text) gives 0.
int FirstSignificantDigit(std::string_view value);

// How many values of a list have each first significant digit; index 0 counts
// the values without one.
class DigitCounts {
public:
    DigitCounts() { counts_.fill(0); }
    explicit DigitCounts(const std::array<int32_t, 10>& counts) : counts_(counts) {}

    // Recounts from the values of rows.
    void Count(const std::vector<NumberRow>& rows);
    // Counts one more value.
    void Add(std::string_view value) { ++counts_[FirstSignificantDigit(value)]; }

    int32_t operator[](int digit) const { return counts_[digit]; }
    // The values with a digit 1 to 9.
    int32_t Total() const;
    // The status text: "No data" when no value has a digit 1 to 9, otherwise
    // "<total> non-zero values".
    std::string StatusText() const;

private:
    std::array<int32_t, 10> counts_;
};

} // namespace leadigit
