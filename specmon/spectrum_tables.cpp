#include "specmon/spectrum_tables.h"

#include <cmath>
#include <utility>

float cosTable[fftTableSize] = {};
float sinTable[fftTableSize] = {};
int64_t swapFrom[fftTableSize] = {};
int64_t swapTo[fftTableSize] = {};
int64_t swapCount = 0;

int64_t countHalvings(int64_t n)
{
    int64_t halvings = 0;
    do {
        n /= 2;
        ++halvings;
    } while (n > 1);
    return halvings;
}

void buildTwiddleTables(float (&cosOut)[fftTableSize], float (&sinOut)[fftTableSize], int64_t n)
{
    const int64_t quarter = n / 4;
    const int64_t half = n / 2;
    cosOut[0] = 1.0f;
    cosOut[quarter] = 0.0f;
    sinOut[0] = 0.0f;
    sinOut[quarter] = 1.0f;
    // The step is formed once and then scaled by i, so every entry rounds the
    // same double-precision angle whichever table it lands in.
    const double step = twoPi / static_cast<double>(n);
    for (int64_t i = 1; i < quarter; ++i) {
        const float r = static_cast<float>(std::cos(static_cast<double>(i) * step));
        cosOut[i] = r;
        cosOut[half - i] = -r;
        sinOut[quarter - i] = r;
        sinOut[quarter + i] = r;
    }
}

void buildSwapList(int64_t (&fromOut)[fftTableSize], int64_t (&toOut)[fftTableSize], int64_t& countOut, int64_t n)
{
    countOut = 0;
    for (int64_t i = 1; i <= n - 2; ++i) {
        // Greedy subtraction of the bit weights, high to low, in single
        // precision: all working values are whole numbers below n <= 2^24,
        // so every step is exact.
        float e = static_cast<float>(i);
        float j = 0.0f;
        float v = 1.0f;
        float b = static_cast<float>(n / 2);
        while (e > 0.0f) {
            if (e >= b) {
                j += v;
                e -= b;
            }
            v *= 2.0f;
            b = std::trunc(b / 2.0f);
        }
        if (static_cast<float>(i) < j) {
            fromOut[countOut] = i;
            toOut[countOut] = static_cast<int64_t>(j);
            ++countOut;
        }
    }
}

void applySwapList(float (&data)[fftSize], const int64_t (&from)[fftTableSize], const int64_t (&to)[fftTableSize],
                   int64_t count)
{
    for (int64_t k = 0; k < count; ++k) {
        std::swap(data[from[k]], data[to[k]]);
    }
}
