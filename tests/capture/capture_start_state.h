// Test support: the capture globals live once per process, so tests that need
// the state the process starts with put it back first, and feed samples one
// callback at a time as PortAudio would.
#pragma once

#include "capture/capture_ring.h"

#include <algorithm>
#include <cstdint>

inline void restoreCaptureStartState()
{
    std::fill_n(CaptureRing, captureLength, 0.0f);
    std::fill_n(CaptureSnapshot, captureLength, 0.0f);
    ringWriteIndex = 0;
    ringClear = 1;
    snapshotHold.store(0);
    rebuildUnderway.store(0);
}

inline void feedSample(int16_t sample)
{
    captureCallback(&sample, nullptr, 1, nullptr, 0, nullptr);
}
