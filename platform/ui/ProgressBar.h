#pragma once

#include <QProgressBar>
#include <chrono>
#include <cstdint>

// A progress bar from 0 to a 64-bit maximum. The values are scaled down to at most
// kSteps steps of the bar, so a long loop may set the value as often as it likes:
// a value that does not reach the next step costs a shift and a compare. The bar
// paints itself at once when it moves, which costs about a millisecond, so it
// moves at most once per frame (kFrame); a later value is shown at the next frame,
// when pending events run. Values are kept in 0..Max().

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

    static constexpr std::chrono::milliseconds kFrame{16};

private:
    void ShowStep(int step);
    void ShowNow();

    int64_t max_ = 100;
    int64_t value_ = 0;
    int shift_ = 0;
    int step_ = 0; // the step of value_, shown now or at the next frame
    std::chrono::steady_clock::time_point lastShown_{};
    bool showPending_ = false;
};

} // namespace platform
