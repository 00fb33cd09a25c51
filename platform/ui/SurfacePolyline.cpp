#include "SurfacePolyline.h"

#include "Surface.h"

#include <QPainter>
#include <algorithm>

namespace platform {

void SurfacePolyline::SetPoints(std::span<const QPointF> points) {
    points_.assign(points.begin(), points.end());
    Replace();
}

void SurfacePolyline::SetColor(const QColor& color) {
    if (color != color_) {
        color_ = color;
        Repaint();
    }
}

void SurfacePolyline::SetWidth(int pixels) {
    pixels = std::max(pixels, 1);
    if (pixels != width_) {
        width_ = pixels;
        Replace();
    }
}

QRect SurfacePolyline::Place() {
    pixels_.resize(points_.size());
    if (points_.size() < 2) {
        return {};
    }
    int left = surface_.ToPixels(points_[0]).x(), right = left;
    int top = surface_.ToPixels(points_[0]).y(), bottom = top;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const QPoint p = surface_.ToPixels(points_[i]);
        pixels_[i] = p;
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    const int margin = width_ / 2 + 1;
    return QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-margin, -margin, margin, margin);
}

void SurfacePolyline::Paint(QPainter& painter) const {
    if (pixels_.size() < 2) {
        return;
    }
    QPen pen(color_, width_);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawPolyline(pixels_.data(), static_cast<int>(pixels_.size()));
}

} // namespace platform
