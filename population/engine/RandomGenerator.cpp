#include "RandomGenerator.h"

namespace population {

int32_t ResultsBelow(double p) {
    // Uniform is non-decreasing in its result, so the results below p form a prefix.
    int32_t low = 0;
    int32_t high = RandomGenerator::kMaxResult + 1;
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        if (Uniform(middle) < p)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

RandomGenerator& ThreadGenerator() {
    thread_local RandomGenerator generator;
    return generator;
}

} // namespace population
