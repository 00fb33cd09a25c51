#include "ErrorChart.h"

#include <algorithm>

namespace neuromesh {

void ErrorChart::AddErrorPoint(double e) {
    if (e > maxerr_)
        maxerr_ = e;
    if (errcount_ < kSegments) {
        errhistory_[size_t(errcount_ + 1)] = e;
        ++errcount_;
        return;
    }
    std::shift_left(errhistory_.begin(), errhistory_.end(), 1);
    errhistory_.back() = e;
    const double largest = std::max(0.0, *std::ranges::max_element(errhistory_));
    if (maxerr_ / 2 > largest)
        maxerr_ = largest;
}

} // namespace neuromesh
