#include "SurfaceLine.h"

#include "Surface.h"

#include <QPainter>
#include <algorithm>

namespace platform {

namespace {

// The pixels a line of `width` through `from` and `to` may cover.
QRect LineArea(QPoint from, QPoint to, int width) {
    const int margin = width / 2 + 1;
    return QRect(from, to).normalized().adjusted(-margin, -margin, margin, margin);
}

} // namespace

void SurfaceLine::SetPoints(QPointF from, QPointF to) {
    from_ = from;
    to_ = to;
    Replace();
}

void SurfaceLine::SetColor(const QColor& color) {
    if (color != color_) {
        color_ = color;
        Repaint();
    }
}

void SurfaceLine::SetWidth(int pixels) {
    pixels = std::max(pixels, 1);
    if (pixels != width_) {
        width_ = pixels;
        Replace();
    }
}

QRect SurfaceLine::Place() {
    pixelFrom_ = surface_.ToPixels(from_);
    pixelTo_ = surface_.ToPixels(to_);
    return LineArea(pixelFrom_, pixelTo_, width_);
}

void SurfaceLine::Paint(QPainter& painter) const {
    QPen pen(color_, width_);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLine(pixelFrom_, pixelTo_);
}

} // namespace platform
