#include "Conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace platform {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

bool ParseLeadingNumber(std::string_view text, double& value, size_t* length) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t start = i;
    // Digits before the point, less leading zeros, and zeros after the point
    // before the first other digit: together they place the first significant
    // digit, which tells an overflow from an underflow.
    int64_t intDigits = 0;
    int64_t fracZeros = 0;
    bool anyDigit = false;
    while (i < text.size() && IsDigit(text[i])) {
        if (intDigits > 0 || text[i] != '0')
            ++intDigits;
        anyDigit = true;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        size_t j = i + 1;
        bool significant = false;
        while (j < text.size() && IsDigit(text[j])) {
            significant = significant || text[j] != '0';
            if (!significant)
                ++fracZeros;
            ++j;
        }
        if (j > i + 1 || anyDigit) {
            anyDigit = anyDigit || j > i + 1;
            i = j;
        }
    }
    if (!anyDigit)
        return false;
    int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        bool exponentNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            exponentNegative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                if (exponent < 1000000000)
                    exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (exponentNegative)
                exponent = -exponent;
            i = j;
        }
    }
    double magnitude = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + i;
    const auto [ptr, ec] = std::from_chars(first, last, magnitude, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        const int64_t place = intDigits > 0 ? intDigits + exponent : exponent - fracZeros;
        magnitude = place > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc() || ptr != last) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    if (length)
        *length = i;
    return true;
}

double Val(std::string_view text) {
    double v = 0;
    return ParseLeadingNumber(text, v) ? v : 0.0;
}

double RoundHalfEven(double v) {
    if (!std::isfinite(v))
        return v;
    const double floor = std::floor(v);
    const double diff = v - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

namespace {

template <typename T> bool ToIntRounded(double v, T& out) {
    const double r = RoundHalfEven(v);
    if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
          r <= static_cast<double>(std::numeric_limits<T>::max())))
        return false;
    out = static_cast<T>(r);
    return true;
}

} // namespace

bool ToInt32Rounded(double v, int32_t& out) {
    return ToIntRounded(v, out);
}

bool ToInt16Rounded(double v, int16_t& out) {
    return ToIntRounded(v, out);
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

char HexDigit(int value) {
    return "0123456789ABCDEF"[value & 15];
}

std::string FormatGeneralInvariant(double value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    if (value == 0)
        return "0";
    // Rounded to 15 digits first, so that the exponent is that of the rounded value.
    char buffer[32];
    char* const end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                          std::chars_format::scientific, 14)
                                .ptr;
    char* const e = std::find(buffer, end, 'e');
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exponent);
    std::string digits(buffer, 1);
    digits.append(buffer + 2, e);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int count = static_cast<int>(digits.size());
    std::string text = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        text += digits[0];
        if (count > 1)
            text += "." + digits.substr(1);
        char power[8];
        const int length = std::snprintf(power, sizeof power, "E%c%02d", exponent < 0 ? '-' : '+',
                                         std::abs(exponent));
        text.append(power, static_cast<size_t>(length));
    } else if (exponent < 0) {
        text += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else if (count <= exponent + 1) {
        text += digits + std::string(static_cast<size_t>(exponent + 1 - count), '0');
    } else {
        text += digits.substr(0, static_cast<size_t>(exponent + 1)) + "." +
                digits.substr(static_cast<size_t>(exponent + 1));
    }
    return text;
}

} // namespace platform
