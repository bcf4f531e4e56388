// The power and decibel step and the whole per-frame analysis. Main thread
// only (the analysis reads the process-wide transform tables).
#pragma once

#include "specmon/spectrum_tables.h"

// For bins 0..1023: P = re^2 + im^2 in single precision (each square rounded,
// then the sum), and spectrumDb[i] = single(10 log10(double(P) + 1e-19)) in
// double precision. A bin with P = 0 gives exactly -190. Bins 1024 and up of
// re and im are not read.
void powerToDecibels(const float (&re)[fftSize], const float (&im)[fftSize], float (&spectrumDb)[fftSize / 2]);

// One frame: re holds the 2048 samples, oldest first, and im is all zero.
// Applies the Hamming window to re, the forward transform (sign -1) to
// (re, im), and writes the levels of bins 0..1023 to spectrumDb; re and im are
// left holding the transform. fft must have been initialised.
void analyseFrame(float (&re)[fftSize], float (&im)[fftSize], float (&spectrumDb)[fftSize / 2]);
