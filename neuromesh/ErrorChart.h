#pragma once

#include <array>
#include <span>

// The training dialog's chart of the error of each epoch: 201 segments
// joining 202 values. It fills one segment per new value, then scrolls by
// one value per new one. The scale's maximum grows at once to a larger
// value and shrinks, only while scrolling, to the largest shown value when
// that falls below half of it.

namespace neuromesh {

class ErrorChart {
public:
    static constexpr int kSegments = 201;
    static constexpr int kValues = kSegments + 1;

    // No value yet; the scale's maximum 0.
    void ResetErrorChart() {
        errcount_ = -1;
        maxerr_ = 0;
    }
    void AddErrorPoint(double e);

    // Completed segments: -1 before the first value, kSegments once full.
    int errcount() const { return errcount_; }
    double maxerr() const { return maxerr_; }
    // The values shown, oldest first: errcount() + 1 of them.
    std::span<const double> Shown() const {
        return std::span(errhistory_).first(size_t(errcount_ + 1));
    }

    // The height in twips of value e in a chart at top of height twips:
    // maxerr one eleventh of the height below the top, 0 twenty twips above
    // the bottom. While maxerr is 0 every value lies at the height of 0.
    double ErrorToY(double e, double top, double height) const {
        const double ratio = maxerr_ > 0 ? e / maxerr_ : 0.0;
        return (1 - ratio / 1.1) * height + top - 20;
    }
    // The x in twips of value k (0 to kSegments) in a chart at left of width
    // twips: 10 twips inside either end, value k at k × width / 201 between.
    static double PointX(int k, double left, double width) {
        if (k == 0)
            return left + 10;
        if (k == kSegments)
            return left + width - 10;
        return left + width / kSegments * k;
    }

private:
    int errcount_ = -1;
    double maxerr_ = 0;
    std::array<double, kValues> errhistory_{};
};

} // namespace neuromesh
