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

// The value as text in at most 15 significant digits, trailing zeros dropped, no
// digit grouping, the locale's decimal separator: plain from 0.0001 up to below
// 1E+15, otherwise as mantissa and exponent ("1.5E-05", "-2E+20"). Infinities
// and NaN give the locale's names for them.
QString FormatGeneral(double value);

} // namespace platform
