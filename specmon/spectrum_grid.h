// specmon's graticule (--grid): a line at every whole kHz, labelled every
// 2 kHz (on the logarithmic axis, --log, at n x 10^k Hz), and a line at
// every multiple of 10 dB on the row the trace has at that level. Its
// numbers and texts are pure; drawSpectrumGrid draws through the plot
// helpers. Any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "specmon/spectrum_display.h"
#include "specmon/spectrum_size.h"

inline constexpr int64_t gridLevelStepDb = 10;
inline constexpr int64_t gridLabelEveryKhz = 2;
// Whole kHz that fall inside the drawn bins.
inline constexpr int64_t gridKilohertzLines =
    static_cast<int64_t>(static_cast<double>(spectrumBins - 1) * binWidthHz / 1000.0);

// The column of the line at k kHz (1 to gridKilohertzLines): column x shows
// bin x - 1, so 1 + round(k x 1000 / binWidthHz).
int64_t kilohertzColumn(int64_t k);

// Its label, "2 kHz", or empty for a line between two labelled ones.
std::string kilohertzLabel(int64_t k);

// The lines of the logarithmic axis: at n x 10^k Hz (n from 1 to 9) from
// logGridLowestHz to logGridHighestHz, each in its column (logColumnOf).
inline constexpr double logGridLowestHz = 30.0;
inline constexpr double logGridHighestHz = 20000.0;
struct FrequencyLine {
    int64_t column = 0;
    std::string label; // "50 Hz", "1 kHz"; empty for a line between labelled ones
};
std::vector<FrequencyLine> logFrequencyLines();

// The levels that are multiples of gridLevelStepDb and whose rows lie inside
// the window at this offset, lowest first: the first and how many.
struct LevelLines {
    int64_t firstDb = 0;
    int64_t count = 0;
};
LevelLines levelLines(float offset);

// "40 dB", "-10 dB", "0 dB".
std::string levelLabel(int64_t levelDb);

// Draws the grid for this offset (monitor/graticule.h), on the logarithmic
// axis when log is set, its labels out of the top keepOutRows screen rows.
void drawSpectrumGrid(float offset, bool log, int64_t keepOutRows);
