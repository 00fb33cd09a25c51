#include "SurfaceItem.h"

#include "Surface.h"

namespace platform {

void SurfaceItem::SetGeometry(const QRect& geometry) {
    const QRect fitted = Fit(geometry);
    if (fitted == geometry_) {
        return;
    }
    const QRect old = geometry_;
    geometry_ = fitted;
    if (visible_) {
        surface_.RepaintItemArea(old);
        surface_.RepaintItemArea(geometry_);
    }
}

void SurfaceItem::Move(int left, int top) {
    SetGeometry(QRect(QPoint(left, top), geometry_.size()));
}

void SurfaceItem::SetVisible(bool visible) {
    if (visible == visible_) {
        return;
    }
    visible_ = visible;
    surface_.RepaintItemArea(geometry_);
}

void SurfaceItem::Repaint() const {
    if (visible_) {
        surface_.RepaintItemArea(geometry_);
    }
}

} // namespace platform
