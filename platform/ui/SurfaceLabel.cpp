#include "SurfaceLabel.h"

#include "Color.h"
#include "Surface.h"

#include <QPainter>

namespace platform {

SurfaceLabel::SurfaceLabel(Surface& surface)
    : SurfaceRectItem(surface), font_(surface.textFont_), foreColor_(ToQColor(kButtonTextColor)),
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

void SurfaceLabel::SetAlignment(Alignment alignment) {
    if (alignment != alignment_) {
        alignment_ = alignment;
        Repaint();
    }
}

QRect SurfaceLabel::Fit(const QRect& geometry) const {
    if (!autoSize_) {
        return geometry;
    }
    const QSize text = surface_.MeasureText(font_, text_);
    return {geometry.topLeft(), QSize(surface_.FromPixels(text.width() + 2 * kMarginX),
                                      surface_.FromPixels(text.height() + 2 * kMarginY))};
}

void SurfaceLabel::Paint(QPainter& painter) const {
    const QRect area = Area();
    if (backColor_) {
        painter.fillRect(area, *backColor_);
    }
    painter.setPen(foreColor_);
    surface_.DrawText(painter, area.topLeft() + QPoint(kMarginX, kMarginY), font_, text_,
                      area.width() - 2 * kMarginX, alignment_);
}

} // namespace platform
