#pragma once

#include "SurfaceItem.h"

// An item that stands in a rectangle of the surface, given as left, top, width
// and height in the surface's scale (Surface.h); in twips each of the four is
// taken to the nearest pixel.

namespace platform {

class SurfaceRectItem : public SurfaceItem {
public:
    // The rectangle as it was set (or fitted), in the surface's scale. An empty
    // rectangle paints nothing.
    QRect Geometry() const { return geometry_; }
    void SetGeometry(const QRect& geometry);
    void SetGeometry(int left, int top, int width, int height) {
        SetGeometry(QRect(left, top, width, height));
    }
    // Moves the top-left corner, keeping the size.
    void Move(int left, int top) { SetGeometry(QRect(QPoint(left, top), geometry_.size())); }
    int Left() const { return geometry_.left(); }
    int Top() const { return geometry_.top(); }
    int Width() const { return geometry_.width(); }
    int Height() const { return geometry_.height(); }

protected:
    using SurfaceItem::SurfaceItem;

    // The geometry the item takes when given `geometry` (a label sized to its text).
    virtual QRect Fit(const QRect& geometry) const { return geometry; }
    // Fits the geometry again after a change of content.
    void Refit() { SetGeometry(geometry_); }
    QRect Place() override;

private:
    QRect geometry_;
};

} // namespace platform
