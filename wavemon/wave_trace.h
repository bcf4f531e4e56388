// The waveform trace: where each sample lands, and the per-frame drawing that
// a worker thread runs.
#pragma once

#include <cstdint>
#include <string>

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
    int64_t first = 0;                // the sample in column 0: 0 but for a triggered frame
    bool grid = false;                // the labelled grid under the trace
    int64_t gridKeepOut = 0;          // the top screen rows its labels keep out of (graticule.h)
    int64_t readoutColumn = -1;       // the pointer's column for the readout; -1 for none
    bool frozen = false;              // the picture is frozen: said in the top text row
    const float* reference = nullptr; // the reference trace's tracePoints samples (--reference); null for none
    std::string measureLine;          // the measurement line (--measure); empty for none
    bool clip = false;                // a sample at full scale: marked after the measurement line
};

// Worker thread: clears the screen, draws the grid when asked and the
// reference trace when there is one (its points in referenceColour), plots
// the 1024 values of buffer from view.first on as single points in colour 10
// (x = index - first, y = traceRow), then draws the help lines over them,
// the readout of the pointer's column when it shows a sample, whether the
// picture is frozen and the measurement line when there is one. Reads buffer
// and the reference in place: the caller must not write them until this has
// returned.
void drawTrace(const float (&buffer)[traceLength], const TraceView& view);

// Any thread: the two help lines in colour 14.
void drawWaveHelp();
