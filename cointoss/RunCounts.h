#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Runs of consecutive ones in a sequence of the characters "0" and "1", counted
// by their length, and the sequences generated at random.

namespace cointoss {

// The longest sequence generated. The sequence is held several times over (the
// text, the sequence box's document and its rows, a copy while counting), a few
// bytes a character each time; a length near 2^31 would take gigabytes.
inline constexpr int32_t kMaxLength = 100000000;

// The generated length for the typed text: its leading number (0 when there is
// none) rounded half to even, a negative value 0. False, n unchanged, for a
// length beyond kMaxLength (32-bit integers included).
bool GeneratedLength(std::string_view text, int32_t& n);

// n characters, "1" where coin() is true and "0" otherwise, in order.
std::string Generate(int32_t n, const std::function<bool()>& coin);

// counts(r) is the number of runs of exactly r ones; counts(0) stays 0. The
// array grows as longer runs are met and never shrinks.
class RunCounts {
public:
    RunCounts() : counts_(1, 0) {}

    // Counts the runs of seq anew (every entry 0 first, the size kept) and deletes
    // from seq every character other than "0" and "1". Returns the longest run.
    int32_t Count(std::string& seq);
    void CountRun(int32_t r);

    const std::vector<int32_t>& Counts() const { return counts_; }

private:
    std::vector<int32_t> counts_;
};

} // namespace cointoss
