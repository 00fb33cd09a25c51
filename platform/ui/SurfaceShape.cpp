#include "SurfaceShape.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace platform {

SurfaceShape::SurfaceShape(Surface& surface) : SurfaceRectItem(surface), borderColor_(Qt::black) {}

void SurfaceShape::SetKind(Kind kind) {
    if (kind != kind_) {
        kind_ = kind;
        Repaint();
    }
}

void SurfaceShape::SetBorderColor(std::optional<QColor> color) {
    if (color != borderColor_) {
        borderColor_ = color;
        Repaint();
    }
}

void SurfaceShape::SetBorderWidth(int pixels) {
    pixels = std::max(pixels, 1);
    if (pixels != borderWidth_) {
        borderWidth_ = pixels;
        Repaint();
    }
}

void SurfaceShape::SetFillColor(std::optional<QColor> color) {
    if (color != fillColor_) {
        fillColor_ = color;
        Repaint();
    }
}

void SurfaceShape::Paint(QPainter& painter) const {
    if (kind_ == Kind::Circle) {
        PaintCircle(painter);
        return;
    }
    const QRect r = Area();
    if (fillColor_) {
        painter.fillRect(r, *fillColor_);
    }
    if (borderColor_) {
        // Four strips rather than an outline, so that a shape one pixel wide or
        // high is still exactly its area.
        const QColor& c = *borderColor_;
        const int w = std::min(borderWidth_, std::max(r.width(), r.height()));
        painter.fillRect(r.left(), r.top(), r.width(), w, c);
        painter.fillRect(r.left(), r.bottom() - w + 1, r.width(), w, c);
        painter.fillRect(r.left(), r.top(), w, r.height(), c);
        painter.fillRect(r.right() - w + 1, r.top(), w, r.height(), c);
    }
}

void SurfaceShape::PaintCircle(QPainter& painter) const {
    const QRect r = Area();
    const int diameter = std::min(r.width(), r.height());
    if (diameter <= 0) {
        return;
    }
    const QRectF outer(r.left() + (r.width() - diameter) / 2, r.top() + (r.height() - diameter) / 2,
                       diameter, diameter);
    const double border = borderColor_ ? std::min<double>(borderWidth_, diameter / 2.0) : 0;
    const QRectF inner = outer.adjusted(border, border, -border, -border);
    painter.setPen(Qt::NoPen);
    if (fillColor_ && inner.width() > 0) {
        painter.setBrush(*fillColor_);
        painter.drawEllipse(inner);
    }
    if (borderColor_) {
        QPainterPath ring;
        ring.setFillRule(Qt::OddEvenFill);
        ring.addEllipse(outer);
        if (inner.width() > 0) {
            ring.addEllipse(inner);
        }
        painter.setBrush(*borderColor_);
        painter.drawPath(ring);
    }
}

} // namespace platform
