#pragma once

#include <cstdint>

// The pseudo-DES hashing generator (Numerical Recipes, psdes, four rounds): each value hashes the
// pair (seed, index), and the index then moves on by one.
class PseudoDes {
public:
    constexpr PseudoDes(std::uint32_t seed, std::uint32_t index) : seed_(seed), index_(index) {}

    constexpr std::uint32_t next() {
        constexpr std::uint32_t c1[4] = {0xBAA96887u, 0x1E17D32Cu, 0x03BCDC3Cu, 0x0F33D1B2u};
        constexpr std::uint32_t c2[4] = {0x4B0F3B58u, 0xE874F0C3u, 0x6955C5A6u, 0x55A7CA46u};
        std::uint32_t left = seed_;
        std::uint32_t right = index_++;
        for (int round = 0; round < 4; ++round) {
            const std::uint32_t mixed = right ^ c1[round];
            const std::uint32_t low = mixed & 0xFFFFu;
            const std::uint32_t high = mixed >> 16;
            const std::uint32_t square = low * low + ~(high * high);
            const std::uint32_t swapped = (square >> 16) | (square << 16);
            const std::uint32_t newRight = left ^ ((swapped ^ c2[round]) + low * high);
            left = right;
            right = newRight;
        }
        return right;
    }

private:
    std::uint32_t seed_;
    std::uint32_t index_;
};
