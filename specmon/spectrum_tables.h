// Twiddle tables and bit-reversal swap list of the 2048-point transform.
//
// The tables are process-wide: fft fills them on its initialisation call, on
// the main thread, before the audio stream starts, and only reads them after
// that. They hold zeros until then. Every function here is pure apart from the
// arrays it is handed and may run on any thread that owns those arrays.
#pragma once

#include <cstdint>

#include "specmon/spectrum_size.h"

// Entries of each table and capacity of the swap list: a radix-2 transform of
// n points turns by the angles 2 pi k / n for k below n / 2 only, and fewer
// than n / 2 pairs of indices trade places in its bit reversal.
inline constexpr int64_t fftTableSize = fftSize / 2;

// 2 pi in double precision, the nearest double to it.
inline constexpr double twoPi = 6.283185307179586;

// Entry k holds cos(2 pi k / 2048) and sin(2 pi k / 2048), rounded to single.
extern float cosTable[fftTableSize];
extern float sinTable[fftTableSize];
// Swap pairs of the bit-reversal permutation, smaller index first, in
// ascending order of swapFrom; entries 0..swapCount-1 are in use.
extern int64_t swapFrom[fftTableSize];
extern int64_t swapTo[fftTableSize];
extern int64_t swapCount;

// Number of integer halvings that bring n down to 1, so log2 n for a power of
// two n >= 2 (the only inputs it is meant for).
int64_t countHalvings(int64_t n);

// Fills entries 0..n/2-1 of both tables for a power of two 4 <= n <= 2048 and
// leaves the rest alone. Evaluates n/4 - 1 double-precision cosines and fills
// the other entries by the quarter-wave symmetries, so symmetric entries agree
// exactly; entries 0 and n/4 are set to exact 0 and 1.
void buildTwiddleTables(float (&cosOut)[fftTableSize], float (&sinOut)[fftTableSize], int64_t n);

// Lists every pair (i, j) with i < j where j is i with its log2 n low bits
// reversed, i ascending, for a power of two 2 <= n <= 2048, and sets countOut
// to the number of pairs (992 for n = 2048).
void buildSwapList(int64_t (&fromOut)[fftTableSize], int64_t (&toOut)[fftTableSize], int64_t& countOut, int64_t n);

// Exchanges data[from[k]] and data[to[k]] for k = 0 up to count-1, in order.
void applySwapList(float (&data)[fftSize], const int64_t (&from)[fftTableSize], const int64_t (&to)[fftTableSize],
                   int64_t count);
