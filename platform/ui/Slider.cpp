#include "Slider.h"

namespace platform {

Slider::Slider(QWidget* parent, Qt::Orientation orientation) : QSlider(orientation, parent) {
    // Dragging the thumb changes the value once, on release.
    setTracking(false);
    setRange(0, 10);
    setSingleStep(1);
    setPageStep(5);
    setTickPosition(TicksBelow);
    setTickInterval(1);
    connect(this, &QAbstractSlider::valueChanged, this, [this](int value) {
        if (onChange) {
            onChange(value);
        }
    });
}

} // namespace platform
