#include "specmon/spectrum_levels.h"

#include <cmath>

#include "specmon/spectrum_fft.h"
#include "specmon/spectrum_window.h"

namespace {
// Keeps the logarithm finite for an empty bin: P = 0 reads -190 dB.
constexpr double powerFloor = 1e-19;
} // namespace

void powerToDecibels(const float (&re)[fftSize], const float (&im)[fftSize], float (&spectrumDb)[fftSize / 2])
{
    for (int64_t i = 0; i < fftSize / 2; ++i) {
        const float power = re[i] * re[i] + im[i] * im[i];
        spectrumDb[i] = static_cast<float>(10.0 * std::log10(static_cast<double>(power) + powerFloor));
    }
}

void analyseFrame(float (&re)[fftSize], float (&im)[fftSize], float (&spectrumDb)[fftSize / 2])
{
    applyHamming(re, fftSize);
    fft(re, im, fftForward, fftTransform);
    powerToDecibels(re, im, spectrumDb);
}
