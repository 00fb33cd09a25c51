#include "Color.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

namespace {

QPalette::ColorRole SystemRole(uint32_t index) {
    switch (index) {
    case kScrollBarsColor & 0xFF:
    case kButtonFaceColor & 0xFF:
        return QPalette::Button;
    case kWindowTextColor & 0xFF:
        return QPalette::WindowText;
    case kHighlightColor & 0xFF:
        return QPalette::Highlight;
    case kHighlightTextColor & 0xFF:
        return QPalette::HighlightedText;
    case kButtonShadowColor & 0xFF:
        return QPalette::Dark;
    case kButtonTextColor & 0xFF:
        return QPalette::ButtonText;
    case kWindowColor & 0xFF:
    default:
        return QPalette::Base;
    }
}

} // namespace

QColor ToQColor(uint32_t value) {
    if ((value & kSystemColorFlag) == 0) {
        return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    }
    const QPalette palette = QGuiApplication::palette();
    if ((value & 0xFF) == (kGrayTextColor & 0xFF)) {
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    }
    return palette.color(QPalette::Active, SystemRole(value & 0xFF));
}

} // namespace platform
