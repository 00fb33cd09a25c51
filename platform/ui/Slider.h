#pragma once

#include <QSlider>
#include <functional>

// A slider with the properties and the Change event of the forms. onChange(value)
// runs whenever the value changes: by the user (arrow keys by SmallChange, page
// keys and clicks on the track by LargeChange, Home and End, the mouse wheel, or
// releasing the thumb after a drag), by SetValue, and by a range change that
// moves the value. Setting the value it already has raises nothing. Values
// outside the range are clamped. Tick marks stand below (or right of) the track
// every TickFrequency values. New sliders run from 0 to 10 in steps of 1 and 5,
// with a tick at every value.

namespace platform {

class Slider : public QSlider {
public:
    explicit Slider(QWidget* parent = nullptr, Qt::Orientation orientation = Qt::Horizontal);

    std::function<void(int value)> onChange;

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Value() const { return value(); }
    int SmallChange() const { return singleStep(); }
    int LargeChange() const { return pageStep(); }
    int TickFrequency() const { return tickInterval(); }

    void SetMin(int min) { setMinimum(min); }
    void SetMax(int max) { setMaximum(max); }
    void SetValue(int value) { setValue(value); }
    void SetSmallChange(int step) { setSingleStep(step); }
    void SetLargeChange(int step) { setPageStep(step); }
    void SetTickFrequency(int frequency) { setTickInterval(frequency); }
};

} // namespace platform
