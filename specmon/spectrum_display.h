// Drawing of the spectrum monitor: the offset control, the level polyline
// and the backed legend. Main thread only.
#pragma once

#include <cstdint>

inline constexpr int64_t spectrumBins = 1024;
inline constexpr float offsetStart = 100.0f;

// One frame of offset control: the left button moves the trace down 10
// pixels, then the right one up 10, in single precision; the result is kept
// within -100 and 200.
float nextOffset(float offset, bool leftHeld, bool rightHeld);

// Plot row of a level: 5 x level + offset in single precision, rounded to the
// nearest integer with halves to even.
int64_t levelRow(float levelDb, float offset);

// Clears the screen and draws the levels as a polyline of 1024 segments in
// colour 10: segment i joins (i, row of bin i - 1) to (i + 1, row of bin i),
// the first one level at bin 0's row, so bin i sits at column i + 1.
void drawSpectrum(const float (&levelsDb)[spectrumBins], float offset);

// The two legend lines in colour 14, each on a backing of colour 0.
void drawSpectrumLegend();
