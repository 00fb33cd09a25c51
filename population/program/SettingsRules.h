#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The settings dialog's rules for its boxes, with no window code: how the
// probabilities are written, what each box accepts when the focus leaves it,
// and how the accepted texts become the library's values.

namespace cooperon {

constexpr const char* kSettingsTitle = "Cooperon settings";
// Population rows are numbered in 16 bits.
constexpr int32_t kMaxPopulation = 32767;
// A generation plays members x sessions x games games: with these bounds one
// generation of the largest population stays well under a second, so Stop
// answers (bench_cooperon measures it).
constexpr int32_t kMaxGames = 100;
constexpr int32_t kMaxSessions = 20;

// 16 decimals with "." as the point in every locale: 1/70 is "0.0142857142857143".
std::string FormatProbability(double probability);

enum class SettingsBox { Payoff, Games, Tours, Size, Mutation, Crossover };

struct BoxCheck {
    // The box's text after the check: an integer box holds the integer part of
    // its value, truncated toward zero; a probability keeps its text as typed.
    std::string text;
    // Why the value is refused, or null when it is accepted.
    const char* message = nullptr;
};

// Reads text as a leading decimal number ("." the point, 0 when there is none)
// and checks it for the box.
BoxCheck CheckBox(SettingsBox box, std::string_view text);

// An integer box's value for the library: nearest integer, ties to even,
// within the 32-bit range.
int32_t IntegerSetting(std::string_view text);
// A probability box's value for the library.
double ProbabilitySetting(std::string_view text);

} // namespace cooperon
