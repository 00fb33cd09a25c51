#include "Windows1252.h"

#include <gtest/gtest.h>
#include <string>

using namespace platform;

TEST(Windows1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = FromWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(ToWindows1252(text), all);
    // A long text with every byte, both ways.
    std::string big;
    for (int i = 0; i < 1 << 20; ++i)
        big.push_back(static_cast<char>((i * 7) & 0xFF));
    EXPECT_EQ(ToWindows1252(FromWindows1252(big)), big);
}

TEST(Windows1252, CharactersOfTheCodePage) {
    const struct {
        unsigned char byte;
        char16_t character;
    } cases[] = {
        {'A', u'A'},     {0x00, 0x0000},  {0x7F, 0x007F}, {0x80, 0x20AC}, {0x81, 0x0081},
        {0x8A, 0x0160},  {0x8D, 0x008D},  {0x8F, 0x008F}, {0x90, 0x0090}, {0x93, 0x201C},
        {0x99, 0x2122},  {0x9D, 0x009D},  {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE9, 0x00E9},
        {0xFF, 0x00FF},
    };
    for (const auto& c : cases) {
        const std::string byte(1, static_cast<char>(c.byte));
        EXPECT_EQ(FromWindows1252(byte), QString(QChar(c.character))) << int(c.byte);
        EXPECT_EQ(ToWindows1252(QString(QChar(c.character))), byte) << int(c.byte);
    }
}

TEST(Windows1252, CharactersWithoutAByteBecomeQuestionMarks) {
    // U+0080 and U+009F are not in the code page (bytes 0x80, 0x9F are other
    // characters); a character outside the basic plane is one mark.
    EXPECT_EQ(ToWindows1252(QString::fromUtf8("a\u0080b\u009F\u4E2D\U0001F600c")), "a?b??" "?c");
}

TEST(Windows1252, OnlyTheCodePagesCharactersLeavesTheOthersOut) {
    EXPECT_EQ(ToWindows1252Only(QString::fromUtf8("a\u0080b\u009F\u4E2D\U0001F600c\u20AC?")),
              "abc\x80?");
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(ToWindows1252Only(FromWindows1252(all)), all);
}
