#include "NumberFormat.h"

#include "Conversions.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <limits>
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

TEST_F(FormatFixedTest, TrimmedResultFieldsInBothLocales) {
    const struct {
        double value;
        int decimals;
        NumberPoint point;
        const char* english;
        const char* german;
    } cases[] = {
        {0, 16, NumberPoint::Locale, "0", "0"},
        {1234, 16, NumberPoint::Locale, "1,234", "1.234"},
        {0.25, 16, NumberPoint::Locale, "0.25", "0,25"},
        {1E-20, 16, NumberPoint::Locale, "0.", "0,"}, // not whole: the separator stays
        {-1E-20, 16, NumberPoint::Locale, "0.", "0,"},
        {-2.5, 16, NumberPoint::Locale, "-2.5", "-2,5"},
        {1234567.125, 16, NumberPoint::Locale, "1,234,567.125", "1.234.567,125"},
        {1.0 / 3, 16, NumberPoint::Locale, "0.3333333333333333", "0,3333333333333333"},
        {1E20, 16, NumberPoint::Locale, "100,000,000,000,000,000,000",
         "100.000.000.000.000.000.000"},
        {100, 16, NumberPoint::Locale, "100", "100"},
        {0.03, 16, NumberPoint::Locale, "0.03", "0,03"},
        {0.25, 5, NumberPoint::Dot, "0.25", "0.25"},
        {2, 5, NumberPoint::Dot, "2", "2"},
        {0, 16, NumberPoint::Dot, "0", "0"},
        {1E-20, 16, NumberPoint::Dot, "0", "0"}, // the point goes whenever nothing follows
        {-0.5, 5, NumberPoint::Dot, "-0.5", "-0.5"},
        {-1.5, 16, NumberPoint::Dot, "-1.5", "-1.5"},
        {1234567.5, 16, NumberPoint::Dot, "1234567.5", "1234567.5"}, // no grouping
        {-1.0 / 3, 5, NumberPoint::Dot, "-0.33333", "-0.33333"},
        {100, 5, NumberPoint::Dot, "100", "100"},
        {10, 0, NumberPoint::Dot, "10", "10"},
    };
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(FormatTrimmed(c.value, c.decimals, c.point).toStdString(), c.english) << c.value;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(FormatTrimmed(c.value, c.decimals, c.point).toStdString(), c.german) << c.value;
    }
    EXPECT_EQ(FormatTrimmed(std::numeric_limits<double>::infinity(), 16, NumberPoint::Dot), "inf");
    EXPECT_FALSE(FormatTrimmed(std::numeric_limits<double>::quiet_NaN()).isEmpty());
}

TEST_F(FormatFixedTest, UngroupedFixedKeepsTheLocalesSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatFixedUngrouped(-1234567.125, 3), "-1234567,125");
    EXPECT_EQ(FormatFixedUngrouped(0.5, 0), "1");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatFixedUngrouped(1234567.125, 2), "1234567.13");
    EXPECT_EQ(FormatFixed(1234567.125, 2), "1,234,567.13") << "the grouped form is unchanged";
}

// What a program writes into a box and reads again with Val is the number shown,
// in a comma locale, a point locale and one with its own digits.
TEST_F(FormatFixedTest, TextWithADecimalPointReadsBackInEveryLocale) {
    const QLocale locales[] = {QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::English, QLocale::UnitedStates),
                               QLocale(QLocale::Arabic, QLocale::Egypt)};
    const std::tuple<double, const char*, const char*> cases[] = {
        {5000, "5000.0000000000", "5000"},
        {-0.5, "-0.5000000000", "-0.5"},
        {-1234567.25, "-1234567.2500000000", "-1234567.25"},
        {1.5E-7, "0.0000001500", "1.5E-07"},
        {0, "0.0000000000", "0"},
    };
    for (const QLocale& locale : locales) {
        QLocale::setDefault(locale);
        for (const auto& [value, fixed, general] : cases) {
            const QString f = WithDecimalPoint(FormatFixed(value, 10));
            const QString g = WithDecimalPoint(FormatGeneral(value));
            EXPECT_EQ(f, fixed) << locale.name().toStdString();
            EXPECT_EQ(g, general) << locale.name().toStdString();
            EXPECT_EQ(Val(g.toStdString()), value) << general;
        }
    }
}
