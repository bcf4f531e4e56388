// Shared inputs and helpers of the spectrum tests.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "specmon/spectrum_size.h"

inline uint32_t floatBits(float value)
{
    return std::bit_cast<uint32_t>(value);
}

// Distance from |value| to the next larger single-precision number.
inline float ulpOf(float value)
{
    return std::nextafter(std::fabs(value), INFINITY) - std::fabs(value);
}

// Reproducible pseudo-random samples s / 32768 for 16-bit s: exact in single
// precision and the same on every platform, so results can be pinned to bits.
inline void fillNoise(float (&data)[fftSize], uint32_t seed)
{
    uint32_t state = seed;
    for (float& value : data) {
        state = state * 1664525u + 1013904223u;
        value = static_cast<float>(static_cast<int16_t>(state >> 16)) / 32768.0f;
    }
}

template <std::size_t size>
void fillConstant(float (&data)[size], float value)
{
    for (float& entry : data) {
        entry = value;
    }
}
