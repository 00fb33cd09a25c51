#pragma once

#include "Color.h"
#include "InputEvents.h"
#include "SurfaceImage.h"
#include "SurfaceLabel.h"
#include "SurfaceLine.h"
#include "SurfacePolyline.h"
#include "SurfaceShape.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <span>
#include <vector>

// One drawing surface per window or picture box. Everything is drawn into an
// image in pixels, without antialiasing, so that a pixel read back is exactly the
// colour drawn; the widget shows the image. Drawings persist: the image keeps
// what was drawn until it is cleared or redrawn; exposing the widget only copies
// the image to the screen. The image takes the widget's size when drawn on, so
// a surface sized while hidden keeps all that is drawn before it first shows.
//
// The paint handler is the form's repaint: it runs when the widget is first shown,
// after every resize, and on Refresh(). The resize handler runs before it. Mouse and
// key handlers get coordinates in the surface's scale and the codes of InputEvents.h.
//
// Pen and brush are solid; the pen is one pixel wide. In pixels a point (x, y)
// is pixel (x, y); outlines run through the vertices and include both ends of every edge.
// Drawing is immediate on the image; the screen is updated with what was drawn
// at most once per frame (16 ms), when pending events run (DoEvents). The
// surface takes no keyboard focus unless given a focus policy (setFocusPolicy),
// which onKeyDown needs.
//
// Text is drawn in the widget's font (setFont) without antialiasing. Items
// (shapes, labels, lines, polylines and pictures: SurfaceShape.h and the others)
// are painted over the drawing and under the child widgets; Image() is the
// drawing alone, Composite() what the screen shows.
//
// Coordinates (drawing, items, mouse events, Pixel, text extents) are in the
// surface's scale: pixels, or twips at 15 to a pixel, each coordinate taken to
// the nearest pixel. Real-valued points (QPointF) may fall between pixels.

namespace platform {

class Surface : public QWidget {
public:
    explicit Surface(QWidget* parent = nullptr);
    ~Surface() override;

    std::function<void()> onPaint;
    std::function<void()> onResize;
    std::function<void(const MouseEvent&)> onMouseDown;
    std::function<void(const MouseEvent&)> onMouseMove;
    std::function<void(const MouseEvent&)> onMouseUp;
    std::function<void(const KeyEvent&)> onKeyDown;

    enum class ScaleMode { Pixels, Twips };

    // Pixels at first. Items keep their coordinates and move to their places in
    // the new scale.
    void SetScaleMode(ScaleMode mode);
    ScaleMode GetScaleMode() const { return twips_ ? ScaleMode::Twips : ScaleMode::Pixels; }
    // The inside's size in the scale.
    int ScaleWidth() const { return FromPixels(width()); }
    int ScaleHeight() const { return FromPixels(height()); }
    // Coordinates of the scale in the drawing's pixels (window pixel coordinates,
    // before the origin is taken off), and pixels in the scale.
    int ToPixels(int v) const { return twips_ ? TwipsToPixels(v) : v; }
    int ToPixels(double v) const;
    QPoint ToPixels(QPoint p) const { return {ToPixels(p.x()), ToPixels(p.y())}; }
    QPoint ToPixels(QPointF p) const { return {ToPixels(p.x()), ToPixels(p.y())}; }
    // Each of left, top, width and height to the nearest pixel.
    QRect ToPixels(const QRect& r) const {
        return twips_ ? TwipsRect(r.left(), r.top(), r.width(), r.height()) : r;
    }
    int FromPixels(int pixels) const { return twips_ ? PixelsToTwips(pixels) : pixels; }

    // Drawing coordinates are those of the window the surface lies in: `origin`
    // is the point of them at the surface's top-left corner (0, 0 at first).
    // Mouse events and Pixel use the same coordinates; Image() is the surface's.
    void SetOrigin(QPoint origin);
    QPoint Origin() const { return scaleOrigin_; }
    // Sets the background colour and clears the image to it.
    void SetBackColor(const QColor& color);
    QColor BackColor() const { return backColor_; }
    // Fills the whole image with the background colour.
    void Clear();

    void SetPen(const QColor& color);
    void SetBrush(const QColor& color);
    void SetPen(QRgb color) {
        if (color != penRgb_)
            ChangePen(color);
    }
    void SetBrush(QRgb color) {
        if (color != brushRgb_)
            ChangeBrush(color);
    }
    // Qt::black and its kin are colours here, not the numbers of their enum,
    // which the QRgb forms would take.
    void SetPen(Qt::GlobalColor color) { SetPen(QColor(color)); }
    void SetBrush(Qt::GlobalColor color) { SetBrush(QColor(color)); }
    // Fills the polygon with the brush and outlines it with the pen.
    void Polygon(std::span<const QPoint> points);
    // An upright box between two corners: the outline with the pen, the inside
    // with the brush; the same pixels as Polygon with its four corners.
    void Box(QPoint topLeft, QPoint bottomRight) {
        if (twips_)
            BoxPixels(ToPixels(topLeft), ToPixels(bottomRight));
        else
            BoxPixels(topLeft, bottomRight);
    }
    void Box(QPointF corner, QPointF opposite) { BoxPixels(ToPixels(corner), ToPixels(opposite)); }
    // Draws from `from` to `to` with the pen, both end pixels included.
    void Line(QPoint from, QPoint to);
    void Line(QPointF from, QPointF to);
    // Fills the rectangle from (x, y), width x height, without outline.
    void FillRect(int x, int y, int width, int height, const QColor& color);
    void SetPixel(int x, int y, const QColor& color);
    // The same for an opaque colour, written straight into the image without the
    // painter, for drawings of many single points; outside the image it does nothing.
    void SetPixelRgb(int x, int y, QRgb color) {
        if (twips_) {
            x = ToPixels(x);
            y = ToPixels(y);
        }
        x -= origin_.x();
        y -= origin_.y();
        if (pixels_ == nullptr)
            MapPixels();
        if (static_cast<unsigned>(x) >= static_cast<unsigned>(pixelsWidth_) ||
            static_cast<unsigned>(y) >= static_cast<unsigned>(pixelsHeight_))
            return;
        pixels_[y * pixelsStride_ + x] = color | 0xFF000000u;
        MarkDirty(x, y, x, y);
    }
    // A circle filled with the brush and outlined with the pen; the radius in
    // the scale too.
    void Circle(QPointF centre, double radius);
    // The same circle's outline alone, in the pen colour; what lies inside stays.
    void CircleOutline(QPointF centre, double radius);

    // Extents of text in the surface's font; lines break at CR LF or LF. The width
    // is that of the widest line, the height one line's height times the lines.
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    // Draws text in the pen colour with its top-left corner at topLeft, over the
    // drawing (no background).
    void Print(QPoint topLeft, const QString& text);

    // A new item, owned by the surface; the reference stays valid until the
    // item is removed or the surface goes. Items paint in the order they were
    // added (SurfaceItem::BringToFront changes it).
    SurfaceShape& AddShape();
    SurfaceLabel& AddLabel();
    SurfaceLine& AddLine();
    SurfacePolyline& AddPolyline();
    SurfaceImage& AddImage();
    // Takes the item off the surface and destroys it; references to it become invalid.
    void RemoveItem(SurfaceItem& item);
    // The colour at (x, y), or an invalid colour outside the image.
    QColor Pixel(int x, int y) const;

    // Runs the paint handler now and shows the result.
    void Refresh();

    // The drawing, as large as the widget.
    const QImage& Image() const;
    // The drawing with the visible items over it, as the screen shows it.
    QImage Composite() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class SurfaceItem;
    friend class SurfaceLabel;

    // Box with its corners in the drawing's pixels.
    void BoxPixels(QPoint topLeft, QPoint bottomRight) {
        const int left = std::min(topLeft.x(), bottomRight.x());
        const int right = std::max(topLeft.x(), bottomRight.x());
        const int top = std::min(topLeft.y(), bottomRight.y());
        const int bottom = std::max(topLeft.y(), bottomRight.y());
        FillUprightRectangle(left - origin_.x(), top - origin_.y(), right - origin_.x(),
                             bottom - origin_.y());
    }
    void LinePixels(QPoint from, QPoint to);
    void BringToFront(const SurfaceItem& item);
    MouseEvent ToMouseEvent(const QMouseEvent& event, Qt::MouseButtons buttons) const;

    // In the coordinates of the painter's device, which is the image's kind.
    QSize MeasureText(const QFont& font, const QString& text) const;
    // Each line's left edge at topLeft.x, or, for a label's alignment, its right
    // edge at topLeft.x + width or its middle at topLeft.x + width / 2.
    void DrawText(QPainter& painter, QPoint topLeft, const QFont& font, const QString& text,
                  int width = 0, SurfaceLabel::Alignment alignment = SurfaceLabel::Alignment::Left) const;
    // Paints the visible items meeting `area` (image coordinates) on a painter
    // in image coordinates.
    void PaintItems(QPainter& painter, const QRect& area) const;
    // Repaints the screen where an item lies, given in the drawing's coordinates.
    void RepaintItemArea(const QRect& area);
    QPainter& Painter();
    void EndPainting() const;
    void FitImage();
    void ChangePen(QRgb color);
    void ChangeBrush(QRgb color);
    void PostFlush();
    void MarkDirty(const QRect& rect) {
        MarkDirty(rect.left(), rect.top(), rect.right(), rect.bottom());
    }
    // In the image's own coordinates. One screen update per batch of drawings:
    // the parts drawn are merged here
    // and handed to the window system with the next frame.
    void MarkDirty(int left, int top, int right, int bottom) {
        dirtyLeft_ = std::min(dirtyLeft_, left - 1);
        dirtyTop_ = std::min(dirtyTop_, top - 1);
        dirtyRight_ = std::max(dirtyRight_, right + 1);
        dirtyBottom_ = std::max(dirtyBottom_, bottom + 1);
        if (!flushPosted_)
            PostFlush();
    }
    // A row of n pixels in colour c. Rows of a few pixels, the boxes of small
    // cells, are written as two overlapping pairs rather than through a loop.
    static void FillRow(QRgb* row, int n, QRgb c) {
        if (n >= 2 && n <= 4) {
            const uint64_t pair = c | uint64_t{c} << 32;
            std::memcpy(row, &pair, sizeof pair);
            std::memcpy(row + n - 2, &pair, sizeof pair);
            return;
        }
        std::fill_n(row, n, c);
    }
    // Written straight into the image's mapped pixels, as the painter draws a
    // box: the outline through the corners with the pen, the inside with the
    // brush, clipped to the image.
    void FillUprightRectangle(int left, int top, int right, int bottom) {
        if (pixels_ == nullptr)
            MapPixels();
        const int x0 = std::max(left, 0);
        const int x1 = std::min(right, pixelsWidth_ - 1);
        const int y0 = std::max(top, 0);
        const int y1 = std::min(bottom, pixelsHeight_ - 1);
        if (x0 > x1 || y0 > y1)
            return;
        MarkDirty(x0, y0, x1, y1);
        const QRgb pen = penRgb_ | 0xFF000000u;
        const QRgb brush = brushRgb_ | 0xFF000000u;
        const int width = x1 - x0 + 1;
        const qsizetype stride = pixelsStride_;
        QRgb* line = pixels_ + y0 * stride + x0;
        if (pen == brush) {
            for (int y = y0; y <= y1; ++y, line += stride)
                FillRow(line, width, pen);
            return;
        }
        for (int y = y0; y <= y1; ++y, line += stride) {
            if (y == top || y == bottom) {
                FillRow(line, width, pen);
                continue;
            }
            FillRow(line, width, brush);
            if (left == x0)
                line[0] = pen;
            if (right == x1)
                line[width - 1] = pen;
        }
    }
    void RunPaintHandler();
    void FlushDirty();
    // Maps the image's pixels for SetPixelRgb and boxes, detaching the image from any copy.
    void MapPixels();
    // Drops the mapping wherever the image may be replaced or shared.
    void UnmapPixels() const { pixels_ = nullptr; }

    mutable QImage image_;
    // The image's pixels as SetPixelRgb and boxes write them, or null when not mapped.
    mutable QRgb* pixels_ = nullptr;
    qsizetype pixelsStride_ = 0;
    int pixelsWidth_ = 0;
    int pixelsHeight_ = 0;
    mutable QPainter painter_;
    static constexpr std::chrono::milliseconds kFrame{16};

    // The origin in pixels, and as it was set in the scale.
    QPoint origin_;
    QPoint scaleOrigin_;
    bool twips_ = false;
    QPen pen_;
    QBrush brush_;
    // The colours of pen and brush, compared on every drawing.
    QRgb penRgb_ = 0xFF000000;
    QRgb brushRgb_ = 0xFF000000;
    std::chrono::steady_clock::time_point lastFlush_{};
    QColor backColor_;
    // The widget's font, drawn without antialiasing.
    QFont textFont_;
    std::vector<std::unique_ptr<SurfaceItem>> items_;
    // The part of the image drawn since the last screen update.
    int dirtyLeft_ = std::numeric_limits<int>::max();
    int dirtyTop_ = std::numeric_limits<int>::max();
    int dirtyRight_ = std::numeric_limits<int>::min();
    int dirtyBottom_ = std::numeric_limits<int>::min();
    bool flushPosted_ = false;
    bool painted_ = false;
};

} // namespace platform
