// The 2048-point radix-2 decimation-in-time transform, in place and in single
// precision on separate real and imaginary arrays. Main thread only: it
// writes the process-wide tables of spectrum_tables.h on its initialisation
// call and reads them on every other call.
#pragma once

#include <cstdint>

#include "specmon/spectrum_size.h"

// The direction (sign) and mode (init) arguments of fft.
inline constexpr int64_t fftForward = -1;
inline constexpr int64_t fftInverse = 1;
inline constexpr int64_t fftTransform = 0;
inline constexpr int64_t fftBuildTables = 1;

// init != 0 (fftBuildTables): builds the twiddle tables and the swap list for
// 2048 points and returns without touching re, im or looking at sign. Calling
// it again writes the same values.
//
// init == 0 (fftTransform): replaces (re, im) by its transform, in natural
// order, using the tables (which the initialisation call must have built):
//   sign -1 (fftForward): X[k] = sum over t of x[t] e^(-2 pi i k t / 2048),
//   unscaled;
//   sign +1 (fftInverse): the same sum with e^(+2 pi i k t / 2048), divided by
//   2048.
// Every operation is a single-precision product, sum or difference, never
// fused, in a fixed order, so the result is the same bit for bit on every run.
void fft(float (&re)[fftSize], float (&im)[fftSize], int64_t sign, int64_t init);
