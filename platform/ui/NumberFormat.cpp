#include "NumberFormat.h"

#include "Conversions.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

QString FixedText(const QLocale& locale, double value, int decimals) {
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

} // namespace

QString FormatFixed(double value, int decimals) {
    return FixedText(QLocale(), value, decimals);
}

QString FormatGeneral(double value) {
    if (!std::isfinite(value))
        return QLocale().toString(value);
    QString text = QString::fromStdString(FormatGeneralInvariant(value));
    text.replace(u'.', QLocale().decimalPoint());
    return text;
}

QString FormatFixedUngrouped(double value, int decimals) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return FixedText(locale, value, decimals);
}

QString FormatTrimmed(double value, int decimals, NumberPoint point) {
    if (!std::isfinite(value))
        return point == NumberPoint::Locale ? QLocale().toString(value)
                                            : QString::fromStdString(FormatGeneralInvariant(value));
    const bool local = point == NumberPoint::Locale;
    QLocale invariant = QLocale::c();
    invariant.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = local ? FormatFixed(value, decimals) : FixedText(invariant, value, decimals);
    const QString separator = local ? QLocale().decimalPoint() : QStringLiteral(".");
    if (decimals <= 0)
        return text;
    while (text.endsWith(u'0'))
        text.chop(1);
    // A value that is not whole keeps its separator in the user's format, even
    // when no digit it shows after it is other than zero.
    if (text.endsWith(separator) && (!local || std::trunc(value) == value))
        text.chop(separator.size());
    return text;
}

} // namespace platform

namespace platform {

QString WithDecimalPoint(const QString& localeNumber) {
    const QLocale locale;
    QString text = localeNumber;
    // The group separator first: in a comma locale it is the point.
    text.remove(locale.groupSeparator());
    text.replace(locale.decimalPoint(), QStringLiteral("."));
    text.replace(locale.negativeSign(), QStringLiteral("-"));
    for (QChar& c : text) {
        if (c.isDigit())
            c = QChar(u'0' + c.digitValue());
    }
    return text;
}

} // namespace platform
