#include "SurfaceItem.h"

#include "Surface.h"

namespace platform {

void SurfaceItem::SetVisible(bool visible) {
    if (visible == visible_) {
        return;
    }
    visible_ = visible;
    surface_.RepaintItemArea(area_);
}

void SurfaceItem::BringToFront() {
    surface_.BringToFront(*this);
}

void SurfaceItem::Replace() {
    const QRect area = Place();
    if (area == area_) {
        Repaint();
        return;
    }
    const QRect old = area_;
    area_ = area;
    if (visible_) {
        surface_.RepaintItemArea(old);
        surface_.RepaintItemArea(area_);
    }
}

void SurfaceItem::Repaint() const {
    if (visible_) {
        surface_.RepaintItemArea(area_);
    }
}

} // namespace platform
