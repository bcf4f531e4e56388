// The waveform trace: where each sample lands, and the per-frame drawing that
// a worker thread runs.
#pragma once

#include <cstdint>

#include "capture/capture_format.h"

inline constexpr int64_t traceLength = captureLength;     // samples copied per frame
inline constexpr int64_t tracePoints = captureLength / 2; // the older half is drawn
inline constexpr int64_t traceZeroRow = 200;              // plot row of the value 0
inline constexpr float traceGain = 200.0f;                // pixels per unit at scale 1

// Plot row of one sample: value x scale x 200 + 200 in single precision, left
// to right, then rounded to the nearest integer with halves to even.
int64_t traceRow(float value, float scale);

// Worker thread: clears the screen, plots the first 1024 values of buffer as
// single points in colour 10 (x = index, y = traceRow), then draws the help
// lines over them. Reads buffer in place: the caller must not write it until
// this has returned.
void drawTrace(const float (&buffer)[traceLength], float scale);

// Main thread and worker: the two help lines in colour 14.
void drawWaveHelp();
