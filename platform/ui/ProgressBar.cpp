#include "ProgressBar.h"

#include <QTimer>
#include <algorithm>

namespace platform {

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
    SetMax(max_);
}

void ProgressBar::SetMax(int64_t max) {
    max_ = std::max<int64_t>(max, 0);
    shift_ = 0;
    while ((max_ >> shift_) > kSteps) {
        ++shift_;
    }
    value_ = std::min(value_, max_);
    step_ = static_cast<int>(value_ >> shift_);
    // A range of 0..0 would show a busy bar; an empty job shows an empty bar.
    setRange(0, std::max(1, static_cast<int>(max_ >> shift_)));
    setValue(step_);
}

void ProgressBar::ShowStep(int step) {
    step_ = step;
    const auto wait = lastShown_ + kFrame - std::chrono::steady_clock::now();
    if (wait <= wait.zero()) {
        ShowNow();
    } else if (!showPending_) {
        showPending_ = true;
        QTimer::singleShot(std::chrono::ceil<std::chrono::milliseconds>(wait), this, [this] {
            showPending_ = false;
            ShowNow();
        });
    }
}

void ProgressBar::ShowNow() {
    lastShown_ = std::chrono::steady_clock::now();
    setValue(step_);
}

} // namespace platform
