#pragma once

#include <array>
#include <cstdint>

// What Cooperon reads of the library's population: its size and each member's
// genome. A member's genome bits 0 to 63 are its response to each situation
// (a 6-bit memory of the last three games), bits 64 to 69 its initial memory.

namespace cooperon {

constexpr int kSituations = 64;

// One value per situation 0 to 63.
using Shares = std::array<double, kSituations>;

class PopulationReader {
public:
    virtual ~PopulationReader() = default;

    virtual int32_t GetSize() const = 0;
    // Genome bit 0 to 69 of a member, 0 or 1.
    virtual int32_t GetGene(int32_t member, int32_t bit) const = 0;
    // The member's initial memory, 0 to 63.
    virtual int32_t GetInitial(int32_t member) const = 0;
};

} // namespace cooperon
