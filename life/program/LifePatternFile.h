#pragma once

#include "LatticeGeometry.h"
#include "RuleTransform.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string_view>

// Life pattern files: the readers of "#Life 1.05" (rows of dots and stars
// under position lines) and "#Life 1.06" (one cell per line), and the writer
// of 1.06. Lines end in CR LF; a line ending in LF alone is read as well.
//
// The readers hand what they read to a PatternTarget as they go, so that
// what was read before an error stays where it was put. Reading stops at the
// first error; nothing is undone.

namespace lifeboard {

// Where a reader puts the pattern. Rule entries come for k = 0..n of the
// neighbour count in force; SetNeiCount leaves the tables to the target (the
// engine clears them).
class PatternTarget {
public:
    virtual void SetNeiCount(int16_t n) = 0;
    virtual void SetRuleS(int16_t k, int16_t value) = 0;
    virtual void SetRuleB(int16_t k, int16_t value) = 0;
    // The file holds the dead cells of a pattern in the complement mode.
    virtual void SetNegative() = 0;
    virtual void SetCell(int32_t x, int32_t y) = 0;

protected:
    ~PatternTarget() = default;
};

// Sets the target's tables 0..n from a rule line; false, changing nothing,
// for a line that is no rule line.
bool ApplyRuleLine(PatternTarget& target, std::string_view line, int16_t n);

enum class PatternStatus {
    kOk,
    kOpenError,   // the file cannot be opened
    kFormatError, // the first line is neither "#Life 1.05" nor "#Life 1.06"
    kReadError,   // an input error, a damaged line, or a number beyond 32 bits
};

struct PatternReadResult {
    PatternStatus status = PatternStatus::kOk;
    // Present when a cell line or a row was read; covers what was read.
    std::optional<PatternBounds> bounds;
};

// Lines longer than this end the reading with a read error.
inline constexpr size_t kMaxPatternLineLength = size_t{1} << 20;

// Reads a pattern; neiCount is the target's neighbour count at the start,
// which rule lines apply to until a lattice line changes it.
PatternReadResult ReadPattern(std::istream& in, PatternTarget& target, int16_t neiCount = 8);
PatternReadResult ReadPatternFile(const std::filesystem::path& path, PatternTarget& target,
                                  int16_t neiCount = 8);

// Gives out the next cell in enumeration order; false when there is none.
using CellSource = std::function<bool(int32_t& x, int32_t& y)>;

enum class PatternWriteStatus {
    kOk,
    kOpenError,  // no file can be written beside it, or it is a folder
    kWriteError, // writing, flushing or replacing failed: the old file stays
};

// Writes a 1.06 file: the header and description lines, the lattice line of
// neiCount, "#D Extended properties: Negative" when negative, the rule line
// of entries 0..neiCount, then one line per cell. False when the stream
// failed.
bool WritePattern(std::ostream& out, int16_t neiCount, bool negative, const RuleTables& rule,
                  const CellSource& cells);
PatternWriteStatus WritePatternFile(const std::filesystem::path& path, int16_t neiCount,
                                    bool negative, const RuleTables& rule, const CellSource& cells);

} // namespace lifeboard
