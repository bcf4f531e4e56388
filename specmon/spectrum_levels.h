// The power and decibel step and the whole per-frame analysis. Main thread
// only (the analysis reads the process-wide transform tables).
#pragma once

#include "specmon/spectrum_size.h"

// The power of bin i (below spectrumBins): re^2 + im^2 in single precision
// (each square rounded, then the sum).
float binPower(const float (&re)[fftSize], const float (&im)[fftSize], int64_t i);

// The level of a power: single(10 log10(double(P) + 1e-19)) in double
// precision. A power of 0 gives exactly -190.
float powerLevel(double power);

// For every bin i: spectrumDb[i] = powerLevel(binPower(re, im, i)). Entries
// from spectrumBins on of re and im are not read.
void powerToDecibels(const float (&re)[fftSize], const float (&im)[fftSize], float (&spectrumDb)[spectrumBins]);

// re holds the 2048 samples, oldest first, and im is all zero: applies the
// Hamming window to re and the forward transform (sign -1) to (re, im),
// leaving them holding the transform. fft must have been initialised.
void transformFrame(float (&re)[fftSize], float (&im)[fftSize]);

// One frame: transformFrame, then the levels of every bin into spectrumDb.
void analyseFrame(float (&re)[fftSize], float (&im)[fftSize], float (&spectrumDb)[spectrumBins]);
