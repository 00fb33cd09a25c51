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

} // namespace platform
