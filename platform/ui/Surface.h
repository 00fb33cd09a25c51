#pragma once

#include "InputEvents.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>
#include <span>

// One drawing surface per window or picture box. Everything is drawn into an
// image in pixels, without antialiasing, so that a pixel read back is exactly the
// colour drawn; the widget shows the image. Drawings persist: the image keeps
// what was drawn until it is cleared or redrawn; exposing the widget only copies
// the image to the screen.
//
// The paint handler is the form's repaint: it runs when the widget is first shown,
// after every resize, and on Refresh(). The resize handler runs before it. Mouse and
// key handlers get pixel coordinates and the codes of InputEvents.h.
//
// Pen and brush are solid; the pen is one pixel wide. A point (x, y) is pixel
// (x, y); outlines run through the vertices and include both ends of every edge.
// Drawing is immediate on the image; the screen is updated once per batch, when
// pending events next run (DoEvents). The surface takes no keyboard focus unless
// given a focus policy (setFocusPolicy), which onKeyDown needs.

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

    // Sets the background colour and clears the image to it.
    void SetBackColor(const QColor& color);
    QColor BackColor() const { return backColor_; }
    // Fills the whole image with the background colour.
    void Clear();

    void SetPen(const QColor& color);
    void SetBrush(const QColor& color);
    // Fills the polygon with the brush and outlines it with the pen.
    void Polygon(std::span<const QPoint> points);
    // Draws from `from` to `to` with the pen, both end pixels included.
    void Line(QPoint from, QPoint to);
    // Fills width x height pixels from (x, y), without outline.
    void FillRect(int x, int y, int width, int height, const QColor& color);
    void SetPixel(int x, int y, const QColor& color);
    // The colour at (x, y), or an invalid colour outside the image.
    QColor Pixel(int x, int y) const;

    // Runs the paint handler now and shows the result.
    void Refresh();

    // The drawing, as large as the widget.
    const QImage& Image() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPainter& Painter();
    void EndPainting() const;
    void FitImage();
    void RunPaintHandler();
    void MarkDirty(const QRect& rect);
    void FlushDirty();

    mutable QImage image_;
    mutable QPainter painter_;
    QPen pen_;
    QBrush brush_;
    QColor backColor_;
    QRect dirty_;
    bool flushPosted_ = false;
    bool painted_ = false;
};

} // namespace platform
