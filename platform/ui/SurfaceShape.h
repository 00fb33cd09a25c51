#pragma once

#include "SurfaceRectItem.h"

#include <QColor>
#include <optional>

// A shape of a surface: a rectangle filling its geometry, or a circle whose
// diameter is the smaller side of the geometry, centred in it. The border runs
// along the inside of the outline, BorderWidth pixels wide, in the border
// colour; the inside takes the fill colour. Either may be absent (no border,
// transparent fill). At first: a rectangle, a black border one pixel wide,
// transparent fill.

namespace platform {

class SurfaceShape final : public SurfaceRectItem {
public:
    enum class Kind { Rectangle, Circle };

    Kind GetKind() const { return kind_; }
    void SetKind(Kind kind);
    std::optional<QColor> BorderColor() const { return borderColor_; }
    void SetBorderColor(std::optional<QColor> color);
    // In pixels, whatever the scale; at least 1.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int pixels);
    std::optional<QColor> FillColor() const { return fillColor_; }
    void SetFillColor(std::optional<QColor> color);

protected:
    void Paint(QPainter& painter) const override;

private:
    friend class Surface;
    explicit SurfaceShape(Surface& surface);

    void PaintCircle(QPainter& painter) const;

    Kind kind_ = Kind::Rectangle;
    std::optional<QColor> borderColor_;
    int borderWidth_ = 1;
    std::optional<QColor> fillColor_;
};

} // namespace platform
