#include "TossRun.h"

#include "Conversions.h"

namespace flipwell {

double TossCount(std::string_view text) {
    const double n = std::trunc(platform::Val(text));
    if (!(n > 0))
        return 0;
    return n > kMaxTosses ? kMaxTosses : n;
}

Sampling SamplingFor(double n) {
    if (n > kSamples)
        return {kSamples, n / kSamples};
    return {static_cast<int64_t>(n), 1};
}

} // namespace flipwell
