#include "Conversions.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <utility>

namespace {

using platform::NearestInt;
using platform::ParseLeadingNumber;
using platform::RoundHalfEven;
using platform::ToInt16Rounded;
using platform::ToInt32Rounded;
using platform::Val;

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ValTest, ReadsTheLeadingNumberAndIgnoresTheRest) {
    // An exponent without digits is not part of the number, and the comma is never the point.
    const std::pair<const char*, double> cases[] = {
        {"42", 42}, {"  \t-17 apples", -17}, {"+3.25x", 3.25}, {".5", 0.5},
        {"7.", 7},  {"1.5e3", 1500},         {"25E-2", 0.25},  {"2e", 2},
        {"2e+", 2}, {"12 34", 12},           {"000123", 123},  {"1,5", 1}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(Val(text), value) << text;
    }
    double v = 0;
    size_t length = 0;
    ASSERT_TRUE(ParseLeadingNumber(" -1.5e2 rest", v, &length));
    EXPECT_EQ(v, -150);
    EXPECT_EQ(length, 7u);
}

TEST(ValTest, TextWithoutANumberReadsZero) {
    for (const char* text : {"", " ", "abc", "-", "+", ".", "-.", "e5", "inf", "nan", "0x10"}) {
        double v = 99;
        EXPECT_EQ(ParseLeadingNumber(text, v), std::string(text) == "0x10") << text;
        EXPECT_EQ(Val(text), 0) << text;
    }
}

TEST(ValTest, IgnoresTheLocaleDecimalSeparator) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    // scripts/common.sh generates this locale.
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "locale de_DE.UTF-8 missing";
    EXPECT_EQ(Val("2.5"), 2.5);
    EXPECT_EQ(Val("2,5"), 2);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ValTest, HugeAndTinyMagnitudesSaturate) {
    EXPECT_EQ(Val("1e400"), kInf);
    EXPECT_EQ(Val("-1e400"), -kInf);
    EXPECT_EQ(Val("0.0001e320"), kInf);
    EXPECT_EQ(Val("1e-400"), 0);
    EXPECT_EQ(Val("123e-99999999999999999999"), 0);
    EXPECT_EQ(Val(std::string(5000, '9')), kInf);
    EXPECT_EQ(Val(std::string(5000, '0') + "7"), 7);
    EXPECT_EQ(Val("0e99999999999"), 0);
}

TEST(RoundingTest, HalvesGoToEven) {
    const std::pair<double, double> cases[] = {
        {0.5, 0},       {1.5, 2},         {2.5, 2},
        {-0.5, 0},      {-1.5, -2},       {-2.5, -2},
        {2.4999999, 2}, {-2.5000001, -3}, {4503599627370497.0, 4503599627370497.0},
        {-kInf, -kInf}};
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(RoundHalfEven(in), out) << in;
        if (std::fabs(in) < 1e9) {
            EXPECT_EQ(NearestInt(in), out) << in;
        }
    }
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
    EXPECT_EQ(NearestInt(1073741823.5), 1073741824);
    EXPECT_EQ(NearestInt(-1073741824.5), -1073741824);
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
    EXPECT_FALSE(ToInt32Rounded(kInf, i));
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
    const std::string upper = "0123456789ABCDEF", lower = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(platform::HexDigitValue(upper[i]), i);
        EXPECT_EQ(platform::HexDigitValue(lower[i]), i);
        EXPECT_EQ(platform::HexDigit(i), upper[i]);
    }
    for (char c : {'G', 'g', '/', ':', '@', '`', '\xC0'}) {
        EXPECT_EQ(platform::HexDigitValue(c), -1) << c;
    }
}

TEST(FormatGeneralInvariantTest, FifteenDigitsAndAPointWhateverTheLocale) {
    // The C library's locale with a decimal comma (scripts/common.sh generates it).
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "locale de_DE.UTF-8 missing";
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1234.5, "1234.5"},
        {-0.25, "-0.25"},
        {523.456789012345678, "523.456789012346"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {0.0001, "0.0001"},
        {0.000099999, "9.9999E-05"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E+15"},
        {9999999999999999.0, "1E+16"},
        {-2.5e-300, "-2.5E-300"},
        {kInf, "inf"},
        {-kInf, "-inf"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(platform::FormatGeneralInvariant(value), text) << value;
    // Values of up to 15 digits come back exactly.
    for (const double value : {1234.5, -0.25, 0.0001, 1e15, 123456.789012345, 6.02214076e23})
        EXPECT_EQ(Val(platform::FormatGeneralInvariant(value)), value) << value;
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
