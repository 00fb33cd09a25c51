#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

// One member of the population: a genome of 70 bits packed in 9 bytes, bit i
// being bit (i mod 8) of byte (i div 8). Bits 0 to 63 are the response table
// (bit h is the move made when the memory of the last three games is h), bits
// 64 to 69 the memory assumed before the first game; the two high bits of
// byte 8 stay 0.

namespace population {

constexpr int kGenomeBits = 70;
constexpr int kResponseBits = 64;
constexpr uint8_t kInitialMask = 0x3F;

struct Strategy {
    std::array<uint8_t, 9> genome{};
    int32_t score = 0; // cost accumulated in the current generation
};

inline int GetBit(const Strategy& s, int bit) {
    return (s.genome[bit >> 3] >> (bit & 7)) & 1;
}

inline void FlipBit(Strategy& s, int bit) {
    s.genome[bit >> 3] ^= uint8_t(1u << (bit & 7));
}

inline void SetBit(Strategy& s, int bit, int value) {
    if (GetBit(s, bit) != value)
        FlipBit(s, bit);
}

inline int32_t InitialMemory(const Strategy& s) {
    return s.genome[8] & kInitialMask;
}

// The response table as one word: bit h is the move for memory h.
inline uint64_t ResponseTable(const Strategy& s) {
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t table;
        std::memcpy(&table, s.genome.data(), sizeof table);
        return table;
    }
    uint64_t table = 0;
    for (int i = 0; i < 8; ++i)
        table |= uint64_t(s.genome[i]) << (8 * i);
    return table;
}

inline void SetResponseTable(Strategy& s, uint64_t table) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(s.genome.data(), &table, sizeof table);
        return;
    }
    for (int i = 0; i < 8; ++i)
        s.genome[i] = uint8_t(table >> (8 * i));
}

// Adds a cost to the score in 32-bit arithmetic that wraps on overflow.
inline void AddCost(Strategy& s, uint32_t cost) {
    s.score = int32_t(uint32_t(s.score) + cost);
}

} // namespace population
