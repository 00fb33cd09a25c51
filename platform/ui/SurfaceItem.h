#pragma once

#include <QRect>

class QPainter;

// A lightweight control of a surface: painted by the surface over its drawing and
// under its child widgets, in the drawing's coordinates (those of Surface::SetOrigin).
// It is no widget: it takes no mouse or key events, so clicks on it reach the
// surface's handlers. Items are made by the surface, owned by it and live as long
// as it; a change repaints only the area the item covered before and covers after.

namespace platform {

class Surface;

class SurfaceItem {
public:
    SurfaceItem(const SurfaceItem&) = delete;
    SurfaceItem& operator=(const SurfaceItem&) = delete;
    virtual ~SurfaceItem() = default;

    // The area the item covers, in the drawing's coordinates; nothing is painted
    // outside it. An empty rectangle paints nothing.
    QRect Geometry() const { return geometry_; }
    void SetGeometry(const QRect& geometry);
    void SetGeometry(int left, int top, int width, int height) {
        SetGeometry(QRect(left, top, width, height));
    }
    // Moves the top-left corner, keeping the size.
    void Move(int left, int top);
    int Left() const { return geometry_.left(); }
    int Top() const { return geometry_.top(); }
    int Width() const { return geometry_.width(); }
    int Height() const { return geometry_.height(); }

    bool IsVisible() const { return visible_; }
    void SetVisible(bool visible);

protected:
    explicit SurfaceItem(Surface& surface) : surface_(surface) {}

    // Paints the item; the painter is in the drawing's coordinates and clipped to
    // the geometry.
    virtual void Paint(QPainter& painter) const = 0;
    // The geometry the item takes when given `geometry` (a label sized to its text).
    virtual QRect Fit(const QRect& geometry) const { return geometry; }
    // Fits the geometry again after a change of content.
    void Refit() { SetGeometry(geometry_); }
    // Repaints the item where it stands (after a change of its look).
    void Repaint() const;

    Surface& surface_;

private:
    friend class Surface;

    QRect geometry_;
    bool visible_ = true;
};

} // namespace platform
