#include "SurfaceShape.h"

#include <QPainter>

namespace platform {

SurfaceShape::SurfaceShape(Surface& surface) : SurfaceItem(surface), borderColor_(Qt::black) {}

void SurfaceShape::SetBorderColor(std::optional<QColor> color) {
    if (color != borderColor_) {
        borderColor_ = color;
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
    const QRect r = Geometry();
    if (fillColor_) {
        painter.fillRect(r, *fillColor_);
    }
    if (borderColor_) {
        // Four strips rather than an outline, so that a shape one pixel wide or
        // high is still exactly its geometry.
        const QColor& c = *borderColor_;
        painter.fillRect(r.left(), r.top(), r.width(), 1, c);
        painter.fillRect(r.left(), r.bottom(), r.width(), 1, c);
        painter.fillRect(r.left(), r.top(), 1, r.height(), c);
        painter.fillRect(r.right(), r.top(), 1, r.height(), c);
    }
}

} // namespace platform
