#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The results file of a test: one line per stage in stage order, each the
// stage's number of choices and its mean reaction time in milliseconds,
// separated by a comma and ended by CR LF ("3,412.5"). The mean is written
// with "." and up to 15 significant digits whatever the locale.
//
// On reading, a line's stage is its position in the file: the first field
// must be a number that fits 16 bits but is otherwise ignored. A file is
// refused whole when a field does not parse (a mean beyond the range of a
// double or not a number among them), or it holds more than kMaxStages
// records. Every finite mean is read, so every file the program writes reads
// back.

namespace reactimer {

constexpr int kMaxStages = 26;

// A results file holds at most 26 short lines; blank lines are allowed beside
// them, but a file beyond this size is refused unread.
constexpr uint64_t kMaxResultsFileBytes = 1 << 20;

// means[k]: the mean of the stage with k + 1 choices.
using StageMeans = std::array<double, kMaxStages>;

struct StageResults {
    StageMeans means{};
    int nums = 0; // the number of stages held, 0..kMaxStages
};

// The text of a results file of the first `nums` means.
std::string WriteResults(const StageMeans& means, int nums);

// Reads the text of a results file; false for a damaged one, `results` then
// unchanged.
bool ReadResults(std::string_view text, StageResults& results);

// The same on files. Saving goes through the safe replace: a failed save
// leaves the file that was there.
bool LoadResultsFile(const std::filesystem::path& path, StageResults& results);
bool SaveResultsFile(const std::filesystem::path& path, const StageMeans& means, int nums);

} // namespace reactimer
