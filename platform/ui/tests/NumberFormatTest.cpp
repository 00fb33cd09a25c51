#include "NumberFormat.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <tuple>

using namespace platform;

namespace {

class FormatFixedTest : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

} // namespace

TEST_F(FormatFixedTest, EnglishDigitsAreGroupedAndCorrectlyRounded) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::tuple<double, int, const char*> cases[] = {
        {0, 16, "0.0000000000000000"},
        {1234.25, 16, "1,234.2500000000000000"},
        {-0.5, 16, "-0.5000000000000000"},
        {1E-20, 16, "0.0000000000000000"},
        {-1E-20, 16, "0.0000000000000000"},
        {1.0 / 3, 16, "0.3333333333333333"},
        {0.1 + 0.2, 17, "0.30000000000000004"},
        {1E20, 16, "100,000,000,000,000,000,000.0000000000000000"},
        {2.675, 2, "2.67"}, // the double lies below the half
        {0.125, 2, "0.13"}, // an exact half goes away from zero
        {-999.9996, 3, "-1,000.000"},
        {0.1, 10, "0.1000000000"},
    };
    for (const auto& [value, decimals, text] : cases) {
        EXPECT_EQ(FormatFixed(value, decimals).toStdString(), text) << value;
    }
}

TEST_F(FormatFixedTest, GermanSeparators) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatFixed(1234.25, 16), "1.234,2500000000000000");
    EXPECT_EQ(FormatFixed(-0.5, 16), "-0,5000000000000000");
    // The double is 9876543.2100000008940...
    EXPECT_EQ(FormatFixed(-9876543.21, 10), "-9.876.543,2100000009");
}

TEST_F(FormatFixedTest, GeneralTextHasFifteenDigitsAndAnExponentOutsideItsRange) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::tuple<double, const char*> cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {3, "3"},
        {-1.5, "-1.5"},
        {1234567.25, "1234567.25"}, // no grouping
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {-0.000123456, "-0.000123456"},
        {-0.0000123456, "-1.23456E-05"},
        {123456789012345, "123456789012345"},
        {999999999999999.9, "1E+15"}, // rounding carries into the exponent
        {1E15, "1E+15"},
        {2.5E20, "2.5E+20"},
        {1.79769313486231E+308, "1.79769313486231E+308"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatGeneral(value).toStdString(), text) << value;
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatGeneral(-1234.5), "-1234,5");
    EXPECT_EQ(FormatGeneral(1.5E-7), "1,5E-07");
}
