#include "Windows1252.h"

#include <array>

namespace platform {

namespace {

// The characters of bytes 0x80 to 0x9F; the rest are Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte of c, or -1 when the code page has none.
int ByteOrNone(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

char ByteOf(char16_t c) {
    const int b = ByteOrNone(c);
    return b < 0 ? '?' : static_cast<char>(b);
}

} // namespace

QString FromWindows1252(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u >= 0x80 && u < 0xA0 ? kHigh[u - 0x80] : char16_t(u));
    }
    return text;
}

std::string ToWindows1252(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* const end = p + text.size();
    for (; p != end; ++p) {
        if (QChar::isHighSurrogate(*p) && p + 1 != end && QChar::isLowSurrogate(p[1])) {
            bytes.push_back('?');
            ++p;
            continue;
        }
        bytes.push_back(ByteOf(*p));
    }
    return bytes;
}

std::string ToWindows1252Only(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* const end = p + text.size();
    for (; p != end; ++p) {
        if (QChar::isHighSurrogate(*p) && p + 1 != end && QChar::isLowSurrogate(p[1])) {
            ++p;
            continue;
        }
        const int b = ByteOrNone(*p);
        if (b >= 0)
            bytes.push_back(static_cast<char>(b));
    }
    return bytes;
}

} // namespace platform
