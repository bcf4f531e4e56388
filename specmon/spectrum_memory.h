// What specmon remembers across frames: the power averaged over frames
// (--average N) and the highest level of each bin (--peak-hold). Pure; the
// main thread keeps them.
#pragma once

#include <cstdint>

#include "specmon/spectrum_size.h"

// An exponential average of each bin's power.
struct PowerAverage {
    double power[spectrumBins] = {};
    bool started = false; // false: the next frame is taken whole
};

// Folds the powers of the transform in (re, im) into the average, each new
// frame weighing 1 / frames (the first after a start taken whole), in double
// precision, and writes the average's levels (powerLevel) to levelsDb.
void averagePowers(PowerAverage& average, const float (&re)[fftSize], const float (&im)[fftSize], int64_t frames,
                   float (&levelsDb)[spectrumBins]);

// The highest level of each bin since a start.
struct PeakHold {
    float levelsDb[spectrumBins] = {};
    bool started = false; // false: the next frame is taken whole
};

// Raises each held level to the frame's where that is higher (takes the frame
// whole after a start).
void holdPeaks(PeakHold& hold, const float (&levelsDb)[spectrumBins]);
