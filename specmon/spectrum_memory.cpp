#include "specmon/spectrum_memory.h"

#include <algorithm>

#include "specmon/spectrum_levels.h"

void averagePowers(PowerAverage& average, const float (&re)[fftSize], const float (&im)[fftSize], int64_t frames,
                   float (&levelsDb)[spectrumBins])
{
    const double weight = average.started ? 1.0 / static_cast<double>(frames) : 1.0;
    for (int64_t i = 0; i < spectrumBins; ++i) {
        average.power[i] += weight * (static_cast<double>(binPower(re, im, i)) - average.power[i]);
        levelsDb[i] = powerLevel(average.power[i]);
    }
    average.started = true;
}

void holdPeaks(PeakHold& hold, const float (&levelsDb)[spectrumBins])
{
    for (int64_t i = 0; i < spectrumBins; ++i) {
        hold.levelsDb[i] = hold.started ? std::max(hold.levelsDb[i], levelsDb[i]) : levelsDb[i];
    }
    hold.started = true;
}
