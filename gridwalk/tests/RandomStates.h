#pragma once

#include "RuntimeRandom.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

namespace gridwalk_test {

// A state of the runtime's generator whose next draws satisfy the test's wish,
// so that a model test decides what its draws are.
inline uint32_t StateWhoseDrawsAre(int count, const std::function<bool(const std::vector<double>&)>& wanted) {
    std::vector<double> draws(count);
    for (uint32_t state = 0; state < (1u << 24); ++state) {
        platform::RuntimeRandom r;
        r.SetState(state);
        for (double& d : draws)
            d = r.Next();
        if (wanted(draws))
            return state;
    }
    throw std::runtime_error("no state gives these draws");
}

// The draw that gives each direction 0 to 3.
inline bool Faces(double draw, int direction) {
    return static_cast<int>(draw * 4) == direction;
}

} // namespace gridwalk_test
