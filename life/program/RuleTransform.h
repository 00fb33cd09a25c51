#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rule tables as Lifeboard edits them: the complement transform that
// lets the engine hold the dead cells when a rule gives birth on zero
// neighbours, the rule lines of pattern files, the rule code of the rule
// dialog, and the predefined rules.
//
// Tables hold entries 0..12; only 0..n count for a neighbour count n, the
// rest stay 0.

namespace lifeboard {

inline constexpr int kMaxNeiCount = 12;

struct RuleTables {
    std::array<uint8_t, kMaxNeiCount + 1> survival{};
    std::array<uint8_t, kMaxNeiCount + 1> birth{};
    bool operator==(const RuleTables&) const = default;
};

// Tables from lists of neighbour counts; counts outside 0..12 are ignored.
constexpr RuleTables MakeRule(std::initializer_list<int> survival,
                              std::initializer_list<int> birth) {
    RuleTables rule;
    for (const int k : survival)
        if (k >= 0 && k <= kMaxNeiCount)
            rule.survival[k] = 1;
    for (const int k : birth)
        if (k >= 0 && k <= kMaxNeiCount)
            rule.birth[k] = 1;
    return rule;
}

// The counts 0..n whose entry is 1, ascending.
std::vector<int> CountsOf(const std::array<uint8_t, kMaxNeiCount + 1>& table, int16_t n);

// B'(k) = not S(n - k), S'(k) = not B(n - k) for k = 0..n: the rule that
// evolves the dead cells as the given rule evolves the live ones. Its own
// inverse, so it also undoes a complementing step.
RuleTables ComplementRule(const RuleTables& rule, int16_t n);

// Every entry 0..n turned over: the tables a complementing step runs with.
RuleTables InvertEntries(const RuleTables& rule, int16_t n);

// B(k) := S(n - k), S(k) := B(n - k): after InvertEntries, leaves the
// complement transform of the rule the step started with.
RuleTables MirrorEntries(const RuleTables& rule, int16_t n);

// Whether the rule makes the next step a complementing one.
inline bool ComplementsOnStep(const RuleTables& rule) {
    return rule.birth[0] == 1;
}

// The generations reached by complementing steps, so that stepping back
// knows which generations to undo the transform for on every lattice,
// also through a run of steps that all complement. Kept as runs of
// consecutive generations, so a rule that flips at every step costs nothing.
class FlipHistory {
public:
    // A complementing step has reached generation.
    void Push(int32_t generation);
    // Stepping back from generation: true when that generation was reached by
    // a complementing step (and forgets it).
    bool TakeIfAt(int32_t generation);
    // The generation of the latest complementing step, -1 when none.
    int32_t Latest() const;
    void Clear() { runs_.clear(); }

private:
    struct Run {
        int32_t first;
        int32_t last;
    };
    std::vector<Run> runs_;
};

// The "#R " line of a pattern file: survival digits, "/", birth digits, each
// the upper-case hexadecimal digit of a count 0..n whose entry is 1.
std::string RuleLineText(const RuleTables& rule, int16_t n);

// The tables a rule line sets for neighbour count n: "#N..." is "#R 23/3";
// "#R..." is split at blanks, its second part at "/", and two parts s and b
// clear 0..n and set the counts of their hexadecimal digits (any other
// character counts as 0; counts above n are dropped). None for every other
// line, which changes nothing.
std::optional<RuleTables> ParseRuleLine(std::string_view line, int16_t n);

// The rule code of the rule dialog: bit 2c is birth with c neighbours, bit
// 2c + 1 survival, for c = 0..12.
struct RuleCode {
    enum class Status {
        kOk,
        kEmpty,      // no answer: nothing changes
        kOutOfRange, // the number does not round into 16 bits: nothing changes
    };
    Status status = Status::kEmpty;
    int16_t value = 0;
    RuleTables ticks; // survival and birth boxes 0..12
};

// Reads the answer as a number, rounds it to the nearest 16-bit integer
// (halves to even) and decodes its bits; a negative code decodes as its
// two's complement bits with halving toward zero.
RuleCode DecodeRuleCode(std::string_view answer);

// The bits of a 16-bit code as survival and birth ticks 0..12.
RuleTables RuleCodeTicks(int16_t code);

inline constexpr std::string_view kRuleCodeRangeMessage =
    "The classification code must be a whole number from -32768 to 32767.";

struct PredefinedRule {
    std::string_view item;    // menu item name
    std::string_view caption; // menu caption
    int16_t neiCount;
    int group; // menu group; groups are separated by a line
    RuleTables rule;
};

// The menu of predefined rules, in menu order.
inline constexpr std::array<PredefinedRule, 10> kPredefinedRules{{
    {"mnuLifeboard", "Lifeboard's Life", 8, 0, MakeRule({2, 3}, {3})},
    {"mnuHighLife", "High Life", 8, 0, MakeRule({2, 3}, {3, 6})},
    {"mnuSeeds", "Seeds", 8, 0, MakeRule({}, {2})},
    {"mnuDiamoeba", "Diamoeba", 8, 0, MakeRule({5, 6, 7, 8}, {3, 5, 6, 7, 8})},
    {"mnuDayAndNight", "Day and Night", 8, 0, MakeRule({3, 4, 6, 7, 8}, {3, 6, 7, 8})},
    {"mnu233", "Triangular 23/3", 12, 1, MakeRule({2, 3}, {3})},
    {"mnu3445", "Triangular 34/45", 12, 1, MakeRule({3, 4}, {4, 5})},
    {"mnu45456", "Triangular 45/456", 12, 1, MakeRule({4, 5}, {4, 5, 6})},
    {"mnuHexLife", "Hexagonal Life", 6, 2, MakeRule({3, 4}, {2})},
    {"mnuSnowflake", "Snowflake", 6, 2, MakeRule({0, 1, 2, 3, 4, 5, 6}, {1})},
}};

} // namespace lifeboard
