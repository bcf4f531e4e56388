// wavemon's measurements (--measure, --print=measure) over a frame's whole
// snapshot, the samples out.txt would hold: the level in dBFS, its peak, the
// mean, and the frequency by counting rising crossings. Pure; any thread.
#pragma once

#include <optional>
#include <string>

#include "wavemon/wave_trace.h"

// Levels below this read as it: silence is -190 dBFS, as specmon's floor.
inline constexpr double levelFloorDb = -190.0;

struct WaveMeasure {
    double rmsDb = levelFloorDb;  // 20 log10 of the root of the mean square, full scale 1
    double peakDb = levelFloorDb; // 20 log10 of the largest magnitude
    double dc = 0.0;              // the mean
    std::optional<double> hz;     // by counting; none for fewer than two crossings or too small a swing
    bool clip = false;            // a sample at full scale
};

// The measurements of the samples. The frequency: with m the middle and h a
// tenth of the swing between the largest and the smallest sample, a rising
// crossing counts at the first sample i at or above m after one at or below
// m - h (and the next needs one at or below m - h again), placed between
// samples i - 1 and i along the straight line through them; n >= 2
// crossings give 48000 (n - 1) / (t_last - t_first). A swing below
// minimumSwing gives none.
inline constexpr double minimumSwing = 0.001;
WaveMeasure measureWave(const float (&samples)[traceLength]);

// The measurement line: "RMS -12.04 dBFS  peak -6.02 dBFS  DC +0.0012  1000.0 Hz"
// ("--- Hz" without a frequency); the clip mark is the line's own
// (measure_line.h).
std::string waveMeasureLine(const WaveMeasure& measure);

// The same values for scripts, without units, then the clip as 1 or 0:
// "-12.04 -6.02 +0.0012 1000.0 0" ("-" without a frequency).
std::string waveMeasureValues(const WaveMeasure& measure);
