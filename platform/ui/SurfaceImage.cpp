#include "SurfaceImage.h"

#include "Surface.h"

#include <QPainter>

namespace platform {

void SurfaceImage::SetPicture(const QImage& picture) {
    picture_ = picture;
    Refit();
    Repaint();
}

QRect SurfaceImage::Fit(const QRect& geometry) const {
    return {geometry.topLeft(), QSize(surface_.FromPixels(picture_.width()),
                                      surface_.FromPixels(picture_.height()))};
}

void SurfaceImage::Paint(QPainter& painter) const {
    painter.drawImage(Area().topLeft(), picture_);
}

} // namespace platform
