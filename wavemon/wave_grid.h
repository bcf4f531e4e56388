// wavemon's graticule (--grid), as numbers and texts: a line every 2 ms of the
// shown trace, and lines at the multiples of a 1-2-5 step of amplitude that
// puts 2 to 5 of them above zero at the current scale. Pure; any thread.
#pragma once

#include <cstdint>
#include <string>

#include "capture/capture_format.h"
#include "wavemon/wave_trace.h"

// Samples per millisecond, and the time between two vertical lines.
inline constexpr int64_t samplesPerMs = static_cast<int64_t>(captureRate / 1000.0);
inline constexpr int64_t gridTimeStepMs = 2;
inline constexpr int64_t gridTimeColumns = (tracePoints - 1) / (gridTimeStepMs * samplesPerMs);

// The column of vertical line k (1 to gridTimeColumns) and its label: 96 and
// "2 ms" for the first.
int64_t timeLineColumn(int64_t k);
std::string timeLineLabel(int64_t k);

// An amplitude step of the 1-2-5 series: mantissa (1, 2 or 5) times ten to
// the exponent, so that labels are written exactly.
struct AmplitudeStep {
    int64_t mantissa = 1;
    int64_t exponent = 0;
    double value() const;
};

// The largest number of lines above zero, and the step for a scale: the
// smallest of the series that shows at most that many lines above zero (a
// line shows when its row, traceRow, is inside the window).
inline constexpr int64_t maxAmplitudeLines = 5;
AmplitudeStep amplitudeStep(float scale);

// How many multiples of the step show above zero (the same number below).
int64_t amplitudeLines(AmplitudeStep step, float scale);

// The label of multiple k (k may be negative) of the step: "+0.5", "-0.02",
// "+2", "0".
std::string amplitudeLabel(AmplitudeStep step, int64_t k);
