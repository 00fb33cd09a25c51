#include "Color.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

using namespace platform;

TEST(Color, PlainValuesAreBlueGreenRed) {
    EXPECT_EQ(ToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(ToQColor(0x00E0E0E0), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(ToQColor(Rgb(1, 2, 3)), QColor(1, 2, 3));
    EXPECT_EQ(Rgb(0x99, 0x66, 0x33), 0x00336699u);
}

TEST(Color, SystemColoursComeFromThePalette) {
    const std::pair<QPalette::ColorRole, uint32_t> roles[] = {{QPalette::Button, 0x8000000F},
                                                              {QPalette::Base, 0x80000005},
                                                              {QPalette::WindowText, 0x80000008},
                                                              {QPalette::Dark, 0x80000010}};
    const QPalette original = QApplication::palette();
    QPalette palette = original;
    for (int i = 0; i < 4; ++i) {
        palette.setColor(roles[i].first, QColor(i + 1, i + 1, i + 1));
    }
    QApplication::setPalette(palette);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ToQColor(roles[i].second), QColor(i + 1, i + 1, i + 1)) << i;
    }
    QApplication::setPalette(original);
}

TEST(Color, TwipsRoundToNearestPixel) {
    static_assert(TwipsToPixels(4800) == 320);
    static_assert(TwipsToPixels(7) == 0 && TwipsToPixels(8) == 1);
    static_assert(TwipsToPixels(-8) == -1 && TwipsToPixels(-7) == 0);
    static_assert(PixelsToTwips(TwipsToPixels(1215)) == 1215);
    static_assert(TwipsRect(220, 620, 4480, 300) == QRect(15, 41, 299, 20));
}
