// specmon's readout (--readout): the bin in the pointer's column with its
// level, and the frame's peak, refined between bins. Pure; any thread.
#pragma once

#include <cstdint>
#include <string>

#include "specmon/spectrum_axis.h"
#include "specmon/spectrum_size.h"

struct SpectrumPeak {
    double hz = 0.0;
    double db = 0.0;
};

// The strongest bin (the lowest of equals), refined by the parabola through
// its level and its two neighbours' levels in dB: its vertex, when the bin
// has both neighbours and the three make a peak; otherwise the bin itself.
SpectrumPeak refinedPeak(const float (&levelsDb)[spectrumBins]);

// "1500.0 Hz  48.83 dB"; a level that rounds to zero reads "0.00 dB".
std::string frequencyAndLevel(double hz, double db);

// The readout line for the pointer at column (-1 when it is not over the
// window): "<bin>  peak <peak>", or "peak <peak>" alone where the column
// shows no bin (column 0, or outside).
// On either axis (spectrum_axis.h): the pointer's part gives the frequency
// the column shows and the level drawn there (columnsDb, from columnLevels),
// then, with a reference trace (referenceColumnsDb, else null), its level
// there: "1500.0 Hz  48.83 dB  ref 45.63 dB  peak 1500.0 Hz  48.83 dB".
std::string spectrumReadout(int64_t column, const float (&levelsDb)[spectrumBins], const LogAxis* axis,
                            const float (&columnsDb)[axisColumns], const float* referenceColumnsDb);
