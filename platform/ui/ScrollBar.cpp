#include "ScrollBar.h"

namespace platform {

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    // Dragging the thumb changes the value once, on release.
    setTracking(false);
    connect(this, &QAbstractSlider::valueChanged, this, [this](int value) {
        if (!quiet_ && onChange) {
            onChange(value);
        }
    });
}

void ScrollBar::SetValueQuiet(int value) {
    quiet_ = true;
    setValue(value);
    quiet_ = false;
}

} // namespace platform
