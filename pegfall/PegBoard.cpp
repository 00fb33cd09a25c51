#include "PegBoard.h"

#include "Conversions.h"
#include "PrngLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace pegfall {

int Round16(double value) {
    const double r = platform::RoundHalfEven(value);
    if (!(r >= std::numeric_limits<int16_t>::min()))
        return std::numeric_limits<int16_t>::min();
    if (r > std::numeric_limits<int16_t>::max())
        return std::numeric_limits<int16_t>::max();
    return static_cast<int>(r);
}

PegBoard::PegBoard() {
    // The design areas: the panel, then the peg area and the bin area sharing
    // the height left above three label heights.
    canvas_ = {0, kCanvasTop, kDesignWidth, (kDesignHeight - kPanelHeight - 3 * kLabelHeight) / 2};
    results_ = {0, canvas_.Bottom() + 1, kDesignWidth,
                kDesignHeight - canvas_.Bottom() - 3 * kLabelHeight};
    ResetBins();
}

int PegBoard::ReadLevels(std::string_view text) {
    const double levels = platform::RoundHalfEven(platform::Val(text));
    if (!(levels >= kMinLevels))
        return kMinLevels;
    if (levels > kMaxLevels)
        return kMaxLevels;
    return static_cast<int>(levels);
}

void PegBoard::SetLevels(int levels) {
    levels_ = std::clamp(levels, kMinLevels, kMaxLevels);
}

void PegBoard::ResetBins() {
    total_ = 0;
    bins_.assign(levels_ + 1, 0);
}

void PegBoard::CountBall(int bin) {
    ++bins_[bin];
    ++total_;
}

bool PegBoard::RedrawDue(int speed) const {
    switch (speed) {
    case 2:
        return total_ % 5 == 0;
    case 3:
        return total_ % 10 == 0;
    case 4:
        return total_ % 5000 == 0;
    default:
        return true;
    }
}

int PegBoard::DropBall(int levels) {
    // The position starts at levels / 2 and moves half a bin per row, so it
    // ends at the number of turns to the right.
    int right = 0;
    // Without a script in force every draw comes from the library: its bound
    // address is called straight, as the full-speed loop counts on.
    double (*const draw)() = platform::ScriptedDraws::Current() == nullptr
                                 ? platform::prng_binding::OpenDouble.Bound()
                                 : nullptr;
    if (draw != nullptr) {
        for (int row = 0; row < levels; ++row)
            right += draw() >= 0.5;
        return right;
    }
    for (int row = 0; row < levels; ++row)
        right += platform::PRNGOpenDouble() >= 0.5;
    return right;
}

void PegBoard::SetClientWidth(double width) {
    canvas_.width = width;
    results_.width = width;
}

void PegBoard::LayoutPanels(double clientHeight) {
    const double h = clientHeight - kPanelHeight - 3 * kLabelHeight;
    if (!animate_)
        canvas_.height = 0;
    else if (h / 2 > 0)
        canvas_.height = h / 2;
    results_.top = canvas_.Bottom() + 1;
    const double below = clientHeight - canvas_.Bottom();
    if (below - 4 * kLabelHeight > 0)
        results_.height = below - 3 * kLabelHeight;
}

void PegBoard::LayoutBoard() {
    const double cw = canvas_.width;
    double step = animate_ ? cw / (2 * levels_ + 2) : cw / (2 * levels_ + 4);
    if (animate_)
        step = std::min(step, canvas_.height / (levels_ + 2));
    if (step > 0)
        step_ = step;
    barWidth_ = 1.8 * step_;
    barLeft_.resize(levels_ + 1);
    barHeight_.assign(levels_ + 1, 0);
    for (int k = 0; k <= levels_; ++k)
        barLeft_[k] = cw / 2 + (2 * k - levels_ - 1) * step_ + 0.1 * step_;
    labelLine_ = results_.Bottom() + kLabelHeight;
    staggered_ = false;
}

double PegBoard::PegLeft(int row, int j) const {
    return canvas_.width / 2 - row * step_ + 2 * j * step_ - kPegSize / 2;
}

double PegBoard::PegTop(int row) const {
    return canvas_.top + (row + 1) * step_;
}

Area PegBoard::Bar(int k) const {
    const double height = barHeight_[k];
    return {barLeft_[k], results_.Bottom() - height, barWidth_, height};
}

Area PegBoard::Label(int k) const {
    double top = labelLine_;
    if (staggered_)
        top += -kLabelHeight / 2 + (k % 2) * kLabelHeight;
    return {barLeft_[k] - (kLabelWidth - barWidth_) / 2, top, kLabelWidth, kLabelHeight};
}

std::string PegBoard::CountText(int k) const {
    return std::to_string(bins_[k]);
}

void PegBoard::DrawHistogram() {
    const double fullHeight = results_.height;
    const uint64_t largest = *std::max_element(bins_.begin(), bins_.end());
    const double total = static_cast<double>(total_);
    for (int k = 0; k <= levels_; ++k) {
        barHeight_[k] = total_ > 0 ? static_cast<double>(bins_[k]) / total /
                                         (static_cast<double>(largest) / total) * fullHeight
                                   : 0;
    }
    const bool wide = CountText(Round16(levels_ / 2.0)).size() > 4;
    if (wide && !staggered_) {
        staggered_ = true;
    } else if (!wide && staggered_) {
        staggered_ = false;
        labelLine_ = results_.Bottom() + kLabelHeight;
    }
}

int PegBoard::CurveLast() const {
    return Round16((barLeft_[levels_] + barWidth_ - barLeft_[0]) / 2);
}

double PegBoard::CurveY(double x) const {
    const double s = 1 / (std::sqrt(2.0 * levels_) * step_);
    const double x0 = results_.width / 2;
    const double z = s * (x - x0);
    return Round16(results_.Bottom() - results_.height * std::exp(-z * z));
}

std::vector<Segment> PegBoard::Curve() const {
    const int n = CurveLast();
    std::vector<Segment> segments;
    segments.reserve(std::max(n + 1, 0));
    int previous = static_cast<int>(CurveY(barLeft_[0] + 2));
    for (int i = 0; i <= n; ++i) {
        const int x = Round16(barLeft_[0] + 2 * i);
        const int y = static_cast<int>(CurveY(x));
        segments.push_back({x - 2, previous, x, y});
        previous = y;
    }
    return segments;
}

} // namespace pegfall
