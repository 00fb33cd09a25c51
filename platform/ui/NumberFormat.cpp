#include "NumberFormat.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace platform {

QString FormatFixed(double value, int decimals) {
    const QLocale locale;
    decimals = std::max(decimals, 0);
    if (!std::isfinite(value)) {
        return locale.toString(value, 'f', decimals);
    }
    // Digits of the magnitude, exact halves rounded away from zero; the sign only
    // when a digit shown is not zero, so that -1E-20 reads as zero.
    QString text = locale.toString(std::fabs(value), 'f', decimals);
    if (value < 0 && std::any_of(text.cbegin(), text.cend(),
                                 [](QChar c) { return c.isDigit() && c.digitValue() != 0; })) {
        text.prepend(locale.negativeSign());
    }
    return text;
}

} // namespace platform
