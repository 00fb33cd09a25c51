#pragma once

#include <QScrollBar>
#include <functional>

// A scroll bar with the Change event of the forms. onChange(value) runs whenever
// the value changes: by the user (arrows, track, or releasing the thumb after a
// drag), by SetValue, and by a range change that moves the value. SetValueQuiet
// moves the thumb without raising it. Values outside the range are clamped.

namespace platform {

class ScrollBar : public QScrollBar {
public:
    explicit ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    std::function<void(int value)> onChange;

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Value() const { return value(); }
    int SmallChange() const { return singleStep(); }
    int LargeChange() const { return pageStep(); }

    void SetMin(int min) { setMinimum(min); }
    void SetMax(int max) { setMaximum(max); }
    void SetSmallChange(int step) { setSingleStep(step); }
    void SetLargeChange(int step) { setPageStep(step); }
    void SetValue(int value) { setValue(value); }
    void SetValueQuiet(int value);

private:
    bool quiet_ = false;
};

} // namespace platform
