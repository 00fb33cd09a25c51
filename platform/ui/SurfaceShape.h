#pragma once

#include "SurfaceItem.h"

#include <QColor>
#include <optional>

// A rectangle shape of a surface: an outline one pixel wide along the inside of its
// geometry in the border colour, and the inside in the fill colour. Either may be
// absent (no border, transparent fill). At first: black border, transparent fill.

namespace platform {

class SurfaceShape final : public SurfaceItem {
public:
    std::optional<QColor> BorderColor() const { return borderColor_; }
    void SetBorderColor(std::optional<QColor> color);
    std::optional<QColor> FillColor() const { return fillColor_; }
    void SetFillColor(std::optional<QColor> color);

protected:
    void Paint(QPainter& painter) const override;

private:
    friend class Surface;
    explicit SurfaceShape(Surface& surface);

    std::optional<QColor> borderColor_;
    std::optional<QColor> fillColor_;
};

} // namespace platform
