#include "SettingsRules.h"

#include "Conversions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace cooperon {

namespace {

constexpr double kMaxInteger = std::numeric_limits<int32_t>::max();
constexpr const char* kTooLarge = "Values above 2147483647 are not allowed";

// The integer part of a finite value as plain decimal text.
std::string IntegerPart(double value) {
    char buffer[400];
    const int length = std::snprintf(buffer, sizeof buffer, "%.0f", std::trunc(value) + 0.0);
    std::string text(buffer, std::size_t(length));
    return text == "-0" ? "0" : text;
}

struct IntegerRule {
    double minimum;
    double maximum;
    const char* belowMinimum;
    const char* aboveMaximum;
};

IntegerRule RuleOf(SettingsBox box) {
    switch (box) {
    case SettingsBox::Payoff:
        return {0, kMaxInteger, "Only non-negative payoffs allowed", kTooLarge};
    case SettingsBox::Games:
        return {1, kMaxGames, "There must be at least one game in a series",
                "There can be at most 100 games in a series"};
    case SettingsBox::Tours:
        return {1, kMaxSessions, "There must be at least one game series in a generation",
                "There can be at most 20 game series in a generation"};
    case SettingsBox::Size:
    default:
        return {1, kMaxPopulation, "There must be at least one member of the population",
                "The population can have at most 32767 members"};
    }
}

} // namespace

std::string FormatProbability(double probability) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, probability, std::chars_format::fixed, 16);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("0");
}

BoxCheck CheckBox(SettingsBox box, std::string_view text) {
    const double value = platform::Val(text);
    if (box == SettingsBox::Mutation || box == SettingsBox::Crossover) {
        const bool inRange = value >= 0 && value <= 1;
        const char* message = box == SettingsBox::Mutation
                                  ? "Mutation probability must be between 0 and 1"
                                  : "Crossover probability must be between 0 and 1";
        return {std::string(text), inRange ? nullptr : message};
    }
    const IntegerRule rule = RuleOf(box);
    // Past the double range there is no integer part to show: the text stays as typed.
    if (!std::isfinite(value))
        return {std::string(text), value < 0 ? rule.belowMinimum : rule.aboveMaximum};
    const double integer = std::trunc(value);
    const char* message = integer < rule.minimum   ? rule.belowMinimum
                          : integer > rule.maximum ? rule.aboveMaximum
                                                   : nullptr;
    return {IntegerPart(value), message};
}

int32_t IntegerSetting(std::string_view text) {
    const double value = platform::RoundHalfEven(platform::Val(text));
    int32_t result = 0;
    if (platform::ToInt32Rounded(value, result))
        return result;
    return value < 0 ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
}

double ProbabilitySetting(std::string_view text) {
    return platform::Val(text);
}

} // namespace cooperon
