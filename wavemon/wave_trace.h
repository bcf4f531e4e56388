// The waveform trace: where each sample lands, and the per-frame drawing that
// a worker thread runs.
#pragma once

#include <cstdint>

#include "capture/capture_format.h"
#include "wavemon/scale_control.h"

inline constexpr int64_t traceLength = captureLength;     // samples copied per frame
inline constexpr int64_t tracePoints = captureLength / 2; // the older half is drawn
inline constexpr int64_t traceZeroRow = 200;              // plot row of the value 0
inline constexpr float traceGain = 200.0f;                // pixels per unit at scale 1

// Plot row of one sample: value x scale x 200 + 200 in single precision, left
// to right, then rounded to the nearest integer with halves to even.
int64_t traceRow(float value, float scale);

// What a frame shows besides the samples.
struct TraceView {
    float scale = scaleStart;
    bool grid = false;          // the labelled grid under the trace
    int64_t readoutColumn = -1; // the pointer's column for the readout; -1 for none
};

// Worker thread: clears the screen, draws the grid when asked, plots the
// first 1024 values of buffer as single points in colour 10 (x = index, y =
// traceRow), then draws the help lines over them and the readout of the
// pointer's column when it shows a sample. Reads buffer in place: the caller
// must not write it until this has returned.
void drawTrace(const float (&buffer)[traceLength], const TraceView& view);

// Main thread and worker: the two help lines in colour 14.
void drawWaveHelp();
