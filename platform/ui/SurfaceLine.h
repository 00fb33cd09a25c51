#pragma once

#include "SurfaceItem.h"

#include <QColor>
#include <QPoint>
#include <QPointF>

// A line of a surface between two points in its scale (real values, so twips
// need not be whole pixels): each end is taken to the nearest pixel, and both
// end pixels are drawn. At first: black, one pixel wide, both ends at (0, 0).

namespace platform {

class SurfaceLine final : public SurfaceItem {
public:
    QPointF From() const { return from_; }
    QPointF To() const { return to_; }
    // Moves both ends at once.
    void SetPoints(QPointF from, QPointF to);
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
    explicit SurfaceLine(Surface& surface) : SurfaceItem(surface) {}

    QPointF from_;
    QPointF to_;
    QPoint pixelFrom_;
    QPoint pixelTo_;
    QColor color_{Qt::black};
    int width_ = 1;
};

} // namespace platform
