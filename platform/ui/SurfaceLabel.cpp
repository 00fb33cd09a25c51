#include "SurfaceLabel.h"

#include "Color.h"
#include "Surface.h"

#include <QPainter>

namespace platform {

SurfaceLabel::SurfaceLabel(Surface& surface)
    : SurfaceItem(surface), font_(surface.textFont_), foreColor_(ToQColor(kButtonTextColor)),
      backColor_(ToQColor(kButtonFaceColor)) {}

void SurfaceLabel::SetText(const QString& text) {
    if (text != text_) {
        text_ = text;
        Refit();
        Repaint();
    }
}

void SurfaceLabel::SetFont(const QFont& font) {
    QFont unsmoothed = font;
    unsmoothed.setStyleStrategy(QFont::NoAntialias);
    if (unsmoothed != font_) {
        font_ = unsmoothed;
        Refit();
        Repaint();
    }
}

void SurfaceLabel::SetForeColor(const QColor& color) {
    if (color != foreColor_) {
        foreColor_ = color;
        Repaint();
    }
}

void SurfaceLabel::SetBackColor(std::optional<QColor> color) {
    if (color != backColor_) {
        backColor_ = color;
        Repaint();
    }
}

void SurfaceLabel::SetAutoSize(bool autoSize) {
    if (autoSize != autoSize_) {
        autoSize_ = autoSize;
        Refit();
    }
}

QRect SurfaceLabel::Fit(const QRect& geometry) const {
    if (!autoSize_) {
        return geometry;
    }
    const QSize text = surface_.MeasureText(font_, text_);
    return {geometry.topLeft(), text + QSize(2 * kMarginX, 2 * kMarginY)};
}

void SurfaceLabel::Paint(QPainter& painter) const {
    if (backColor_) {
        painter.fillRect(Geometry(), *backColor_);
    }
    painter.setPen(foreColor_);
    surface_.DrawText(painter, Geometry().topLeft() + QPoint(kMarginX, kMarginY), font_, text_);
}

} // namespace platform
