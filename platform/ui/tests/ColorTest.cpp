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
    QPalette palette = QApplication::palette();
    const QPalette original = palette;
    palette.setColor(QPalette::Button, QColor(1, 1, 1));
    palette.setColor(QPalette::Base, QColor(2, 2, 2));
    palette.setColor(QPalette::WindowText, QColor(3, 3, 3));
    palette.setColor(QPalette::Dark, QColor(4, 4, 4));
    QApplication::setPalette(palette);

    EXPECT_EQ(ToQColor(0x8000000F), QColor(1, 1, 1));
    EXPECT_EQ(ToQColor(0x80000005), QColor(2, 2, 2));
    EXPECT_EQ(ToQColor(0x80000008), QColor(3, 3, 3));
    EXPECT_EQ(ToQColor(0x80000010), QColor(4, 4, 4));

    QApplication::setPalette(original);
}

TEST(Color, TwipsRoundToNearestPixel) {
    static_assert(TwipsToPixels(4800) == 320);
    static_assert(TwipsToPixels(7) == 0 && TwipsToPixels(8) == 1);
    static_assert(TwipsToPixels(-8) == -1 && TwipsToPixels(-7) == 0);
    static_assert(PixelsToTwips(TwipsToPixels(1215)) == 1215);
}
