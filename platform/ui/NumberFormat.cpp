#include "NumberFormat.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

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

QString FormatGeneral(double value) {
    const QLocale locale;
    if (!std::isfinite(value))
        return locale.toString(value);
    if (value == 0)
        return QStringLiteral("0");
    // Rounded to 15 digits first, so that the exponent is that of the rounded value.
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, 14)
                         .ptr;
    const char* const e = std::find(buffer, end, 'e');
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exponent);
    QString digits =
        QString::fromLatin1(buffer, 1) + QString::fromLatin1(buffer + 2, e - buffer - 2);
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    const QString point = locale.decimalPoint();
    QString text = value < 0 ? QStringLiteral("-") : QString();
    if (exponent < -4 || exponent >= 15) {
        text += digits.left(1);
        if (digits.size() > 1)
            text += point + digits.mid(1);
        text += QString::asprintf("E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    } else if (exponent < 0) {
        text += QStringLiteral("0") + point + QString(-exponent - 1, u'0') + digits;
    } else if (digits.size() <= exponent + 1) {
        text += digits + QString(exponent + 1 - digits.size(), u'0');
    } else {
        text += digits.left(exponent + 1) + point + digits.mid(exponent + 1);
    }
    return text;
}

} // namespace platform
