// The transform's size and the spectrum it gives: the one home of the number
// of bins and of their width, for the analysis, the drawing and the texts
// that state them. Constants only; any thread.
#pragma once

#include <cstdint>

#include "capture/capture_format.h"

// Points of the transform.
inline constexpr int64_t fftSize = 2048;

// Each frame transforms the whole snapshot, oldest sample first.
static_assert(fftSize == captureLength, "the transform takes the whole snapshot");

// The spectrum is the lower half of the transform's bins, up to half the
// sample rate (the upper half mirrors it for real input); bin k stands for
// k x binWidthHz.
inline constexpr int64_t spectrumBins = fftSize / 2;
inline constexpr double binWidthHz = captureRate / static_cast<double>(fftSize);
