#pragma once

#include <QColor>
#include <QRect>
#include <cstdint>

// Colours as the programs write them: 0x00BBGGRR, or a system colour 0x800000nn
// that names an entry of the palette (nn as the window system numbers them).
// Units: design positions are in twips, 15 twips to a pixel.

namespace platform {

constexpr uint32_t kSystemColorFlag = 0x80000000u;
constexpr uint32_t kScrollBarsColor = 0x80000000u;
constexpr uint32_t kWindowColor = 0x80000005u;
constexpr uint32_t kWindowTextColor = 0x80000008u;
constexpr uint32_t kHighlightColor = 0x8000000Du;
constexpr uint32_t kHighlightTextColor = 0x8000000Eu;
constexpr uint32_t kButtonFaceColor = 0x8000000Fu;
constexpr uint32_t kButtonShadowColor = 0x80000010u;
constexpr uint32_t kGrayTextColor = 0x80000011u;
constexpr uint32_t kButtonTextColor = 0x80000012u;

constexpr int kTwipsPerPixel = 15;

// 0x00BBGGRR from its parts.
constexpr uint32_t Rgb(int red, int green, int blue) {
    return static_cast<uint32_t>(red & 0xFF) | static_cast<uint32_t>(green & 0xFF) << 8 |
           static_cast<uint32_t>(blue & 0xFF) << 16;
}

// A plain colour (bits 24..30 ignored) or a system colour from the application's
// palette; a system colour without a palette entry reads as the window colour.
QColor ToQColor(uint32_t value);

// Nearest pixel, halves away from zero.
constexpr int TwipsToPixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

constexpr int PixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// A control's design position and size in twips, as a rectangle in pixels.
constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

} // namespace platform
