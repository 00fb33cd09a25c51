#include "TrialSequence.h"

#include "Conversions.h"

#include <algorithm>
#include <cmath>

namespace reactimer {

const std::array<int16_t, kLetters> kKeyOrder = [] {
    const char order[] = "GHFTYBVRUCNDJEIXMSKWOALZQP";
    std::array<int16_t, kLetters> keys{};
    for (int i = 0; i < kLetters; ++i)
        keys[static_cast<size_t>(i)] = static_cast<int16_t>(order[i] - 'A');
    return keys;
}();

void TrialSequence::Start(int nums, int trials, int warmup) {
    nums_ = std::clamp(nums, 1, kLetters);
    trials_ = std::max(trials, 1);
    warmup_ = std::max(warmup, 0);
    trialCount_ = 0;
    stageSums_.fill(0);
    target_ = 0;
    lit_ = false;
}

TrialSequence::TrialStart TrialSequence::Begin() const {
    TrialStart start;
    if (trialCount_ == Total()) {
        start.finish = true;
        return start;
    }
    start.hideAll = trialCount_ == warmup_;
    if (trialCount_ == 0 && warmup_ > 0)
        start.prompt = "Press any key to begin warmup";
    if (trialCount_ >= warmup_ && (trialCount_ - warmup_) % trials_ == 0) {
        const int s = StageOf(trialCount_);
        start.showKey = kKeyOrder[static_cast<size_t>(s)];
        start.prompt = "Press any key to begin stage " + std::to_string(s + 1);
    }
    return start;
}

int TrialSequence::ChooseTarget(double r) {
    const int s = StageOf(trialCount_);
    if (s < 0)
        target_ = std::min(static_cast<int>(r * kLetters), kLetters - 1);
    else
        target_ = kKeyOrder[static_cast<size_t>(std::min(static_cast<int>(r * (s + 1)), s))];
    return target_;
}

int TrialSequence::Foreperiod(double r) {
    return static_cast<int>(platform::RoundHalfEven(r * 1000 + 1000));
}

void TrialSequence::Light() {
    ++trialCount_;
    lit_ = true;
}

TrialSequence::Press TrialSequence::KeyPress(int character, int64_t milliseconds) {
    if (!lit_)
        return Press::Ignored;
    if (character != 'a' + target_ && character != 'A' + target_)
        return Press::Wrong;
    lit_ = false;
    if (trialCount_ > warmup_)
        stageSums_[static_cast<size_t>(StageOf(trialCount_ - 1))] += static_cast<double>(milliseconds);
    return Press::Correct;
}

double TrialSequence::StageMean(int i) const {
    if (i < 0 || i >= kLetters)
        return 0;
    return stageSums_[static_cast<size_t>(i)] / trials_;
}

} // namespace reactimer
