// Tests of the shared number conversions: what a typed number reads as, and
// the rounding and range checks that every integer field relies on.

#include "Conversions.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

using platform::ParseLeadingNumber;
using platform::RoundHalfEven;
using platform::ToInt16Rounded;
using platform::ToInt32Rounded;
using platform::Val;

TEST(ValTest, ReadsTheLeadingNumberAndIgnoresTheRest) {
    EXPECT_EQ(Val("42"), 42);
    EXPECT_EQ(Val("  \t-17 apples"), -17);
    EXPECT_EQ(Val("+3.25x"), 3.25);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("7."), 7);
    EXPECT_EQ(Val("1.5e3"), 1500);
    EXPECT_EQ(Val("25E-2"), 0.25);
    EXPECT_EQ(Val("2e"), 2) << "an exponent without digits is not part of the number";
    EXPECT_EQ(Val("2e+"), 2);
    EXPECT_EQ(Val("12 34"), 12);
    EXPECT_EQ(Val("000123"), 123);
    EXPECT_EQ(Val("1,5"), 1) << "the comma is never the point";
}

TEST(ValTest, TextWithoutANumberReadsZero) {
    for (const char* text : {"", " ", "abc", "-", "+", ".", "-.", "e5", "inf", "nan", "0x10"}) {
        double v = 99;
        const bool found = ParseLeadingNumber(text, v);
        EXPECT_EQ(found, std::string(text) == "0x10") << text;
        EXPECT_EQ(Val(text), 0) << text;
    }
}

TEST(ValTest, ReportsTheLengthOfTheNumber) {
    double v = 0;
    size_t length = 0;
    ASSERT_TRUE(ParseLeadingNumber(" -1.5e2 rest", v, &length));
    EXPECT_EQ(v, -150);
    EXPECT_EQ(length, 7u);
}

TEST(ValTest, IgnoresTheLocaleDecimalSeparator) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(Val("2.5"), 2.5);
    EXPECT_EQ(Val("2,5"), 2);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ValTest, HugeAndTinyMagnitudesSaturate) {
    EXPECT_EQ(Val("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("0.0001e320"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("1e-400"), 0);
    EXPECT_EQ(Val("123e-99999999999999999999"), 0);
    EXPECT_EQ(Val(std::string(5000, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val(std::string(5000, '0') + "7"), 7);
    EXPECT_EQ(Val("0e99999999999"), 0);
}

TEST(RoundingTest, HalvesGoToEven) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999999), 2);
    EXPECT_EQ(RoundHalfEven(-2.5000001), -3);
    EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497.0);
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
    EXPECT_EQ(RoundHalfEven(-std::numeric_limits<double>::infinity()),
              -std::numeric_limits<double>::infinity());
}

TEST(RoundingTest, NarrowingChecksTheRangeAfterRounding) {
    int32_t i = 7;
    EXPECT_TRUE(ToInt32Rounded(2147483647.4, i));
    EXPECT_EQ(i, INT32_MAX);
    EXPECT_TRUE(ToInt32Rounded(-2147483648.5, i)) << "rounds to even, inside the range";
    EXPECT_EQ(i, INT32_MIN);
    i = 7;
    EXPECT_FALSE(ToInt32Rounded(2147483647.5, i));
    EXPECT_FALSE(ToInt32Rounded(-2147483649.0, i));
    EXPECT_FALSE(ToInt32Rounded(std::nan(""), i));
    EXPECT_FALSE(ToInt32Rounded(std::numeric_limits<double>::infinity(), i));
    EXPECT_EQ(i, 7) << "a refused value leaves the target alone";

    int16_t s = 3;
    EXPECT_TRUE(ToInt16Rounded(-32768.4, s));
    EXPECT_EQ(s, INT16_MIN);
    EXPECT_TRUE(ToInt16Rounded(32766.5, s));
    EXPECT_EQ(s, 32766);
    EXPECT_FALSE(ToInt16Rounded(32767.5, s));
    EXPECT_FALSE(ToInt16Rounded(-32769, s));
    EXPECT_EQ(s, 32766);
}

TEST(HexTest, DigitsOfEitherCase) {
    EXPECT_EQ(platform::HexDigitValue('0'), 0);
    EXPECT_EQ(platform::HexDigitValue('9'), 9);
    EXPECT_EQ(platform::HexDigitValue('A'), 10);
    EXPECT_EQ(platform::HexDigitValue('c'), 12);
    EXPECT_EQ(platform::HexDigitValue('F'), 15);
    EXPECT_EQ(platform::HexDigitValue('G'), -1);
    EXPECT_EQ(platform::HexDigitValue('/'), -1);
    EXPECT_EQ(platform::HexDigitValue('\xC0'), -1);
    EXPECT_EQ(platform::HexDigit(10), 'A');
    EXPECT_EQ(platform::HexDigit(12), 'C');
    EXPECT_EQ(platform::HexDigit(3), '3');
}

} // namespace
