#include "RuleTransform.h"

#include "Conversions.h"

#include <algorithm>

namespace lifeboard {

namespace {

// The highest count a table of neighbour count n uses; -1 for a count below 0.
int Top(int16_t n) {
    return std::min<int>(n, kMaxNeiCount);
}

// Parts of text between single separators, empty parts kept.
std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t from = 0;
    while (true) {
        const size_t at = text.find(separator, from);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(from));
            return parts;
        }
        parts.push_back(text.substr(from, at - from));
        from = at + 1;
    }
}

void SetDigits(std::array<uint8_t, kMaxNeiCount + 1>& table, std::string_view digits, int top) {
    for (const char c : digits) {
        const int v = std::max(platform::HexDigitValue(c), 0);
        if (v <= top)
            table[v] = 1;
    }
}

} // namespace

std::vector<int> CountsOf(const std::array<uint8_t, kMaxNeiCount + 1>& table, int16_t n) {
    std::vector<int> counts;
    for (int k = 0; k <= Top(n); ++k)
        if (table[k])
            counts.push_back(k);
    return counts;
}

RuleTables ComplementRule(const RuleTables& rule, int16_t n) {
    RuleTables out;
    const int top = Top(n);
    for (int k = 0; k <= top; ++k) {
        out.birth[k] = rule.survival[top - k] ? 0 : 1;
        out.survival[k] = rule.birth[top - k] ? 0 : 1;
    }
    return out;
}

RuleTables InvertEntries(const RuleTables& rule, int16_t n) {
    RuleTables out;
    for (int k = 0; k <= Top(n); ++k) {
        out.birth[k] = rule.birth[k] ? 0 : 1;
        out.survival[k] = rule.survival[k] ? 0 : 1;
    }
    return out;
}

RuleTables MirrorEntries(const RuleTables& rule, int16_t n) {
    RuleTables out;
    const int top = Top(n);
    for (int k = 0; k <= top; ++k) {
        out.birth[k] = rule.survival[top - k];
        out.survival[k] = rule.birth[top - k];
    }
    return out;
}

void FlipHistory::Push(int32_t generation) {
    // Generations from this one on belong to steps that were stepped back.
    while (!runs_.empty() && runs_.back().last >= generation) {
        if (runs_.back().first >= generation)
            runs_.pop_back();
        else
            runs_.back().last = generation - 1;
    }
    if (!runs_.empty() && int64_t{runs_.back().last} + 1 == generation)
        runs_.back().last = generation;
    else
        runs_.push_back({generation, generation});
}

bool FlipHistory::TakeIfAt(int32_t generation) {
    if (runs_.empty() || runs_.back().last != generation)
        return false;
    if (runs_.back().first == generation)
        runs_.pop_back();
    else
        --runs_.back().last;
    return true;
}

int32_t FlipHistory::Latest() const {
    return runs_.empty() ? -1 : runs_.back().last;
}

std::string RuleLineText(const RuleTables& rule, int16_t n) {
    std::string line = "#R ";
    for (int k = 0; k <= Top(n); ++k)
        if (rule.survival[k])
            line += platform::HexDigit(k);
    line += '/';
    for (int k = 0; k <= Top(n); ++k)
        if (rule.birth[k])
            line += platform::HexDigit(k);
    return line;
}

std::optional<RuleTables> ParseRuleLine(std::string_view line, int16_t n) {
    if (line.starts_with("#N"))
        return ParseRuleLine("#R 23/3", n);
    if (!line.starts_with("#R"))
        return std::nullopt;
    const std::vector<std::string_view> words = Split(line, ' ');
    if (words.size() < 2)
        return std::nullopt;
    const std::vector<std::string_view> halves = Split(words[1], '/');
    if (halves.size() != 2)
        return std::nullopt;
    RuleTables rule;
    SetDigits(rule.survival, halves[0], Top(n));
    SetDigits(rule.birth, halves[1], Top(n));
    return rule;
}

RuleTables RuleCodeTicks(int16_t code) {
    RuleTables ticks;
    int v = code;
    for (int c = 0; c <= kMaxNeiCount; ++c) {
        ticks.birth[c] = v & 1;
        v /= 2;
        ticks.survival[c] = v & 1;
        v /= 2;
    }
    return ticks;
}

RuleCode DecodeRuleCode(std::string_view answer) {
    RuleCode code;
    if (answer.empty())
        return code;
    if (!platform::ToInt16Rounded(platform::Val(answer), code.value)) {
        code.status = RuleCode::Status::kOutOfRange;
        return code;
    }
    code.status = RuleCode::Status::kOk;
    code.ticks = RuleCodeTicks(code.value);
    return code;
}

} // namespace lifeboard
