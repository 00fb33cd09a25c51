#pragma once

#include "SurfaceRectItem.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

// A text label of a surface. Lines break at CR LF or LF; the text is drawn from
// kMarginY inside the top in the fore colour, each line kMarginX inside the left
// edge, inside the right edge or centred between the margins as the alignment
// says, over the back colour (or over the drawing when the back is
// transparent), cut at the geometry.
// The font is drawn without antialiasing, so pixels are exact. With auto-size the
// label keeps its top-left corner and takes the size of its text plus the margins
// on every side, whenever text or font change. The margins are pixels whatever
// the surface's scale. At first: the surface's font, the button-face back
// colour, the button-text fore colour, left-aligned, no auto-size.

namespace platform {

class SurfaceLabel final : public SurfaceRectItem {
public:
    static constexpr int kMarginX = 2;
    static constexpr int kMarginY = 1;

    enum class Alignment { Left, Right, Center };

    const QString& Text() const { return text_; }
    void SetText(const QString& text);
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font);
    QColor ForeColor() const { return foreColor_; }
    void SetForeColor(const QColor& color);
    // nullopt: transparent.
    std::optional<QColor> BackColor() const { return backColor_; }
    void SetBackColor(std::optional<QColor> color);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    Alignment GetAlignment() const { return alignment_; }
    void SetAlignment(Alignment alignment);

protected:
    void Paint(QPainter& painter) const override;
    QRect Fit(const QRect& geometry) const override;

private:
    friend class Surface;
    explicit SurfaceLabel(Surface& surface);

    QString text_;
    QFont font_;
    QColor foreColor_;
    std::optional<QColor> backColor_;
    bool autoSize_ = false;
    Alignment alignment_ = Alignment::Left;
};

} // namespace platform
