#pragma once

#include <QProgressBar>
#include <cstdint>

// A progress bar from 0 to a 64-bit maximum. The values are scaled down to at most
// kSteps steps of the bar, so a long loop may set the value as often as it likes:
// a value that does not reach the next step costs a shift and a compare. Values
// are kept in 0..Max().

namespace platform {

class ProgressBar : public QProgressBar {
public:
    // More steps than any bar has pixels.
    static constexpr int64_t kSteps = 1 << 16;

    explicit ProgressBar(QWidget* parent = nullptr);

    // A negative maximum counts as 0; the value is clamped to the new range.
    void SetMax(int64_t max);
    int64_t Max() const { return max_; }
    void SetValue(int64_t value) {
        value_ = value < 0 ? 0 : value > max_ ? max_ : value;
        const int step = static_cast<int>(value_ >> shift_);
        if (step != step_)
            ShowStep(step);
    }
    int64_t Value() const { return value_; }

private:
    void ShowStep(int step);

    int64_t max_ = 100;
    int64_t value_ = 0;
    int shift_ = 0;
    int step_ = 0;
};

} // namespace platform
