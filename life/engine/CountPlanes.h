#pragma once

#include <cstdint>

// Per-bit neighbour counts 0..15 as four bit planes.
struct Planes {
    uint64_t p0 = 0;
    uint64_t p1 = 0;
    uint64_t p2 = 0;
    uint64_t p3 = 0;

    void Add(uint64_t w) {
        const uint64_t c0 = p0 & w;
        p0 ^= w;
        const uint64_t c1 = p1 & c0;
        p1 ^= c0;
        const uint64_t c2 = p2 & c1;
        p2 ^= c1;
        p3 |= c2;
    }

    // Adds three words at once.
    void Add3(uint64_t a, uint64_t b, uint64_t c) {
        const uint64_t sum = a ^ b ^ c;
        const uint64_t carry = (a & b) | (c & (a ^ b));
        const uint64_t c0 = p0 & sum;
        p0 ^= sum;
        const uint64_t t = c0 ^ carry;
        uint64_t c1 = c0 & carry;
        const uint64_t c1b = p1 & t;
        p1 ^= t;
        c1 |= c1b;
        const uint64_t c2 = p2 & c1;
        p2 ^= c1;
        p3 |= c2;
    }

    uint64_t Equal(unsigned k) const {
        return (k & 1 ? p0 : ~p0) & (k & 2 ? p1 : ~p1) & (k & 4 ? p2 : ~p2) & (k & 8 ? p3 : ~p3);
    }
};
