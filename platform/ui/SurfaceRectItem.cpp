#include "SurfaceRectItem.h"

#include "Surface.h"

namespace platform {

void SurfaceRectItem::SetGeometry(const QRect& geometry) {
    const QRect fitted = Fit(geometry);
    if (fitted == geometry_) {
        return;
    }
    geometry_ = fitted;
    Replace();
}

QRect SurfaceRectItem::Place() {
    return surface_.ToPixels(geometry_);
}

} // namespace platform
