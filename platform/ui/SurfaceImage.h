#pragma once

#include "SurfaceRectItem.h"

#include <QImage>

// A picture of a surface, drawn at its size (its geometry takes the picture's
// size in pixels, in the surface's scale) with its transparent pixels showing
// what lies under it. At first: no picture, nothing drawn.

namespace platform {

class SurfaceImage final : public SurfaceRectItem {
public:
    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture);

protected:
    void Paint(QPainter& painter) const override;
    QRect Fit(const QRect& geometry) const override;

private:
    friend class Surface;
    explicit SurfaceImage(Surface& surface) : SurfaceRectItem(surface) {}

    QImage picture_;
};

} // namespace platform
