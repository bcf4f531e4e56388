// Test support for the capture layer. The capture globals live once per
// process, so tests that need the state the process starts with put it back
// first; samples are fed one callback at a time as PortAudio would; and a
// signal that counts up by one per sample makes every snapshot checkable.
#pragma once

#include "capture/capture_ring_internal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

inline void restoreCaptureStartState()
{
    std::fill_n(CaptureRing, captureLength, 0.0f);
    std::fill_n(CaptureSnapshot, captureLength, 0.0f);
    ringWriteIndex = 0;
    ringFill = 0;
    snapshotFill = 0;
    ringClear = 1;
    snapshotHold.store(0);
    rebuildUnderway.store(false);
}

inline void feedSample(int16_t sample)
{
    captureCallback(&sample, nullptr, 1, nullptr, 0, nullptr);
}

// The 16-bit sample that a normalised value was made from.
inline int16_t sampleOf(float value)
{
    return static_cast<int16_t>(std::lrint(value * 32768.0f));
}

// Consecutive values of a signal that counts up by one per sample, wrapping
// from 32767 to -32768.
inline bool isCountingWindow(const float (&values)[captureLength])
{
    for (int64_t i = 1; i < captureLength; ++i) {
        if (sampleOf(values[i]) != static_cast<int16_t>(sampleOf(values[i - 1]) + 1)) {
            return false;
        }
    }
    return true;
}
