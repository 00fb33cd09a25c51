#pragma once

#include "SurfaceItem.h"

#include <QColor>
#include <QPoint>
#include <QPointF>
#include <span>
#include <vector>

// A chain of straight segments of a surface through points in its scale (real
// values), each taken to the nearest pixel; one item in place of many lines, so
// that a chart of hundreds of segments changes with one call and one repaint.
// Fewer than two points draw nothing. At first: black, one pixel wide, no points.

namespace platform {

class SurfacePolyline final : public SurfaceItem {
public:
    std::span<const QPointF> Points() const { return points_; }
    void SetPoints(std::span<const QPointF> points);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    // In pixels, whatever the scale; at least 1.
    int Width() const { return width_; }
    void SetWidth(int pixels);

protected:
    void Paint(QPainter& painter) const override;
    QRect Place() override;

private:
    friend class Surface;
    explicit SurfacePolyline(Surface& surface) : SurfaceItem(surface) {}

    std::vector<QPointF> points_;
    std::vector<QPoint> pixels_;
    QColor color_{Qt::black};
    int width_ = 1;
};

} // namespace platform
