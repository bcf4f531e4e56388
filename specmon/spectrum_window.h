// The symmetric Hamming window. Pure; runs on whichever thread owns the data.
#pragma once

#include <cstdint>

#include "specmon/spectrum_size.h"

// Multiplies data[0..n-1] in place by the Hamming weights of length n
// (2 <= n <= 2048): w = 0.54 - 0.46 cos(i 2 pi / (n - 1)), evaluated in double
// precision on every call, then data[i] = single(w * double(data[i])). The
// weights are 0.08 at both ends. Entries from n on are left alone.
void applyHamming(float (&data)[fftSize], int64_t n);
