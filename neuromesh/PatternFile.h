#pragma once

#include "PatternSet.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// The pattern file (".pat"), little-endian, without a header text:
//
//   int16 categories, int16 samples per category, int16 points per stroke;
//   per category a name record: int16 type tag 8, int16 byte length L, then
//     L bytes of Windows-1252 text;
//   per slot, in slot order, 2 × points IEEE 754 doubles x0, y0, x1, y1, ...
//
// and nothing after the last slot. One category "a" of one sample of two
// points is 43 bytes: 01 00 01 00 02 00, 08 00 01 00 61, four doubles.
//
// A file is read whole into a new set, checked before anything is given
// out: sizes a PatternSet can have, every name record with its tag and a
// length that is not negative, exactly the announced number of samples, and
// finite values. A file that fails any check gives nothing.

namespace neuromesh {

inline constexpr int16_t kStringTag = 8;

std::optional<PatternSet> ParsePatternFile(std::span<const uint8_t> bytes);
std::vector<uint8_t> PatternFileBytes(const PatternSet& set);

// The set stored in the file at path; nothing when it cannot be read or is
// refused ("Error opening file").
std::optional<PatternSet> LoadPatternFile(const std::filesystem::path& path);
// Replaces the file at path by the set's file; false when that failed
// ("Error saving file"), leaving what was at path as it was.
bool SavePatternFile(const std::filesystem::path& path, const PatternSet& set);

} // namespace neuromesh
