#include "specmon/spectrum_levels.h"

#include <cmath>

#include "specmon/spectrum_fft.h"
#include "specmon/spectrum_window.h"

namespace {
// Keeps the logarithm finite for an empty bin: P = 0 reads -190 dB.
constexpr double powerFloor = 1e-19;
} // namespace

float binPower(const float (&re)[fftSize], const float (&im)[fftSize], int64_t i)
{
    return re[i] * re[i] + im[i] * im[i];
}

float powerLevel(double power)
{
    return static_cast<float>(10.0 * std::log10(power + powerFloor));
}

void powerToDecibels(const float (&re)[fftSize], const float (&im)[fftSize], float (&spectrumDb)[spectrumBins])
{
    for (int64_t i = 0; i < spectrumBins; ++i) {
        spectrumDb[i] = powerLevel(binPower(re, im, i));
    }
}

void transformFrame(float (&re)[fftSize], float (&im)[fftSize])
{
    applyHamming(re, fftSize);
    fft(re, im, fftForward, fftTransform);
}

void analyseFrame(float (&re)[fftSize], float (&im)[fftSize], float (&spectrumDb)[spectrumBins])
{
    transformFrame(re, im);
    powerToDecibels(re, im, spectrumDb);
}
