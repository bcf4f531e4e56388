// Drawing of the spectrum monitor: the offset control, the level polyline
// and the backed legend. Main thread only.
#pragma once

#include <cstdint>

#include "specmon/spectrum_size.h"

inline constexpr float offsetStart = 100.0f;
inline constexpr float offsetStep = 10.0f; // per frame while a button is held
inline constexpr float offsetLowest = -100.0f;
inline constexpr float offsetHighest = 200.0f;
inline constexpr float pixelsPerDb = 5.0f;

// The peak hold's line (--peak-hold): light red, (255, 85, 85).
inline constexpr int64_t peakHoldColour = 12;

// One frame of offset control: the left button moves the trace down by
// offsetStep, then the right one up, in single precision; the result is kept
// within offsetLowest and offsetHighest.
float nextOffset(float offset, bool leftHeld, bool rightHeld);

// Plot row of a level: pixelsPerDb x level + offset in single precision,
// rounded to the nearest integer with halves to even.
int64_t levelRow(float levelDb, float offset);

// Draws the levels as a polyline of spectrumBins segments in the colour (over
// what is drawn already): segment i joins (i, row of bin i - 1) to (i + 1, row
// of bin i), the first one level at bin 0's row, so bin i sits at column i + 1.
void drawSpectrum(const float (&levelsDb)[spectrumBins], float offset, int64_t colour);

// The two legend lines in colour 14, each on a backing of colour 0.
void drawSpectrumLegend();
