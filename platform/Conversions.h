#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Number conversions shared by the programs: reading a typed number the way
// the original platform's Val does (a leading decimal number, "." as the
// point whatever the locale), rounding halves to even, and narrowing with a
// range check instead of an overflow.

namespace platform {

// Reads the leading decimal number of text: optional blanks (spaces, tabs),
// an optional sign, digits with an optional "." fraction, and an optional
// exponent (e or E, optional sign, digits). Gives false and leaves value
// alone when the text does not begin with a number; length, when given,
// receives the count of characters used. A magnitude beyond double reads as
// an infinity, one below its smallest value as 0.
bool ParseLeadingNumber(std::string_view text, double& value, size_t* length = nullptr);

// The leading decimal number of text, 0 when there is none.
double Val(std::string_view text);

// Nearest integer, halves to the even one; infinities and NaN pass through.
double RoundHalfEven(double v);

// The same for |v| below 2^30, as an int and without a library call, for inner
// loops; needs the default rounding mode.
inline int NearestInt(double v) {
    constexpr double kShift = 6755399441055744.0; // 1.5 * 2^52: leaves no fraction bits
    return static_cast<int>((v + kShift) - kShift);
}

// Nearest integer (halves to even) when it fits the type; false otherwise,
// NaN included, with out unchanged.
bool ToInt32Rounded(double v, int32_t& out);
bool ToInt16Rounded(double v, int16_t& out);

// Value of a hexadecimal digit (either case), -1 for any other character.
int HexDigitValue(char c);

// The upper-case hexadecimal digit of 0..15.
char HexDigit(int value);

// The value in at most 15 significant digits, trailing zeros dropped, no digit
// grouping and "." as the point whatever the locale, as files must hold it:
// plain from 0.0001 up to below 1E+15, otherwise as mantissa and exponent
// ("1.5E-05", "-2E+20"); "inf", "-inf" and "nan" for those. Val reads it back.
std::string FormatGeneralInvariant(double value);

} // namespace platform
