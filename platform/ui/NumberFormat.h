#pragma once

#include <QString>

// Numbers written in the user's number format (the default QLocale): its decimal
// separator and digit grouping.

namespace platform {

// The value with exactly `decimals` decimals (0 and up), correctly rounded from
// the double: a leading zero before the separator, the integer part grouped, a
// minus sign (no parentheses) for a negative value. A value that rounds to zero
// has no sign. Infinities and NaN give the locale's names for them.
QString FormatFixed(double value, int decimals);

// FormatFixed without digit grouping.
QString FormatFixedUngrouped(double value, int decimals);

enum class NumberPoint {
    Locale, // the user's decimal separator, digits grouped
    Dot,    // "." whatever the locale, no grouping
};

// A result field: the value with `decimals` decimals as FormatFixed writes it,
// less the trailing zeros of its decimals. With NumberPoint::Locale the
// separator goes too when the value is whole (1,234 and 0.25, but 1E-20 gives
// "0." since it is not whole); with NumberPoint::Dot it goes whenever nothing
// follows it (1E-20 gives "0"). Infinities and NaN as FormatGeneral and
// FormatGeneralInvariant write them.
QString FormatTrimmed(double value, int decimals = 16, NumberPoint point = NumberPoint::Locale);

// The value as text in at most 15 significant digits, trailing zeros dropped, no
// digit grouping, the locale's decimal separator: plain from 0.0001 up to below
// 1E+15, otherwise as mantissa and exponent ("1.5E-05", "-2E+20"). Infinities
// and NaN give the locale's names for them. FormatGeneralInvariant (Conversions.h)
// writes the same with "." for files.
QString FormatGeneral(double value);

} // namespace platform

namespace platform {

// A number written by FormatFixed or FormatGeneral, rewritten so that it reads
// back as the same number in every locale (Val): the digit grouping dropped,
// the decimal separator ".", the minus sign "-" and the digits 0 to 9. For the
// numbers a program writes into a box that it reads again.
QString WithDecimalPoint(const QString& localeNumber);

} // namespace platform
