// specmon's frequency axis: which frequency each column shows and which
// level it draws there. On the linear axis column x shows bin x - 1; on the
// logarithmic one (--log) column x (1 to spectrumBins) shows
// f(x) = binWidthHz x (spectrumBins - 1)^((x - 1) / (spectrumBins - 1)), bin 1
// in column 1 and the last bin in the last column, about a hundred columns an
// octave. Column 0 shows no frequency of its own on either. Pure; the caller
// owns the table it builds.
#pragma once

#include <cstdint>

#include "specmon/spectrum_size.h"

// The columns that show bins: 1 to spectrumBins.
inline constexpr int64_t axisColumns = spectrumBins;

// The frequency column x shows on the logarithmic axis, for any real x.
double logColumnHz(double x);

// The column that shows hz on the logarithmic axis: 1 + round((spectrumBins -
// 1) x log(hz / binWidthHz) / log(spectrumBins - 1)).
int64_t logColumnOf(double hz);

// How each column of the logarithmic axis takes its level from the bins: the
// highest level of the bins whose centres lie in [f(x - 1/2), f(x + 1/2)),
// or where no centre lies there (below about 3.5 kHz, where the columns are
// narrower than the bins) the level interpolated in dB along a straight line
// between the two bins around f(x) / binWidthHz. Built once, read every
// frame.
struct LogColumn {
    int64_t firstBin = 0;  // the bins in the column's span: firstBin to endBin - 1
    int64_t endBin = 0;    // firstBin when none: interpolate from firstBin to firstBin + 1
    double fraction = 0.0; // how far between them f(x) lies
};
struct LogAxis {
    LogColumn columns[axisColumns];
};
void buildLogAxis(LogAxis& axis);

// The level drawn in each column, columnsDb[x - 1] for column x: on the
// linear axis (axis null) bin x - 1's, on the logarithmic one as the axis
// says.
void columnLevels(const LogAxis* axis, const float (&levelsDb)[spectrumBins], float (&columnsDb)[axisColumns]);

// The frequency column x shows on either axis.
double columnHz(const LogAxis* axis, int64_t x);
