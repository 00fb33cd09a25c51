#pragma once

#include <QRect>

class QPainter;

// A lightweight control of a surface: painted by the surface over its drawing and
// under its child widgets. It is no widget: it takes no mouse or key events, so
// clicks on it reach the surface's handlers. Items are made by the surface and
// owned by it; they live until the surface removes them (Surface::RemoveItem) or
// goes. Items paint in the order they were added, unless brought to the front.
// A change repaints only the area the item covered before and covers after, so
// moving an item is cheap: nothing is drawn until the next repaint of the screen.
// Coordinates are the surface's (its scale and origin, Surface.h).

namespace platform {

class Surface;

class SurfaceItem {
public:
    SurfaceItem(const SurfaceItem&) = delete;
    SurfaceItem& operator=(const SurfaceItem&) = delete;
    virtual ~SurfaceItem() = default;

    bool IsVisible() const { return visible_; }
    void SetVisible(bool visible);

    // Paints the item over every other item of the surface.
    void BringToFront();

    // The pixels the item may paint, in the drawing's pixel coordinates (those of
    // the window, before the origin is taken off); nothing is painted outside.
    QRect Area() const { return area_; }

protected:
    explicit SurfaceItem(Surface& surface) : surface_(surface) {}

    // Paints the item; the painter is in the drawing's pixel coordinates and
    // clipped to Area().
    virtual void Paint(QPainter& painter) const = 0;
    // Works out the item's pixels from its coordinates and the surface's scale,
    // and gives its area.
    virtual QRect Place() = 0;
    // Places the item again after a change of its coordinates or size, repainting
    // where it was and where it now is.
    void Replace();
    // Repaints the item where it stands (after a change of its look).
    void Repaint() const;

    Surface& surface_;

private:
    friend class Surface;

    QRect area_;
    bool visible_ = true;
};

} // namespace platform
