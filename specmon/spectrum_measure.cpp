#include "specmon/spectrum_measure.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <string_view>

#include "monitor/number_text.h"
#include "specmon/spectrum_readout.h"

namespace {

constexpr std::array<std::string_view, 12> noteNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                        "F#", "G",  "G#", "A",  "A#", "B"};

double power(float levelDb)
{
    return std::pow(10.0, static_cast<double>(levelDb) / 10.0);
}

// The power of the five bins around centre.
double bandPower(const float (&levelsDb)[spectrumBins], int64_t centre)
{
    double sum = 0.0;
    for (int64_t b = centre - harmonicHalfWidth; b <= centre + harmonicHalfWidth; ++b) {
        sum += power(levelsDb[b]);
    }
    return sum;
}

std::optional<double> distortion(const float (&levelsDb)[spectrumBins], int64_t strongest, double hz)
{
    if (strongest < lowestDistortionBin) {
        return std::nullopt;
    }
    double harmonics = 0.0;
    bool anyHarmonic = false;
    for (int64_t h = 2; h <= highestHarmonic; ++h) {
        const auto centre = static_cast<int64_t>(std::llround(static_cast<double>(h) * hz / binWidthHz));
        if (centre > highestHarmonicBin) {
            break;
        }
        harmonics += bandPower(levelsDb, centre);
        anyHarmonic = true;
    }
    if (!anyHarmonic) {
        return std::nullopt;
    }
    return 100.0 * std::sqrt(harmonics / bandPower(levelsDb, strongest));
}

std::string signedWhole(int64_t value)
{
    std::string text(1, value < 0 ? '-' : '+');
    return text.append(std::to_string(value < 0 ? -value : value));
}

} // namespace

NearestNote nearestNote(double hz)
{
    const double midi = static_cast<double>(concertAMidi) + 12.0 * std::log2(hz / concertA);
    const auto nearest = static_cast<int64_t>(std::floor(midi + 0.5));
    const auto notes = static_cast<int64_t>(noteNames.size());
    // MIDI numbers count octaves from C-1.
    const int64_t octave = (nearest >= 0 ? nearest / notes : (nearest - notes + 1) / notes) - 1;
    const auto name = static_cast<size_t>(nearest - notes * (octave + 1));
    return {std::string(noteNames[name]) + std::to_string(octave),
            std::llround(100.0 * (midi - static_cast<double>(nearest)))};
}

SpectrumMeasure measureSpectrum(const float (&levelsDb)[spectrumBins])
{
    SpectrumMeasure measure;
    const int64_t strongest = std::max_element(std::begin(levelsDb), std::end(levelsDb)) - std::begin(levelsDb);
    if (strongest == 0) {
        return measure;
    }
    measure.tone = true;
    measure.hz = refinedPeak(levelsDb).hz;
    measure.note = nearestNote(measure.hz);
    measure.thd = distortion(levelsDb, strongest, measure.hz);
    return measure;
}

std::string spectrumMeasureLine(const SpectrumMeasure& measure)
{
    if (!measure.tone) {
        return "no tone";
    }
    return fixedDecimals(measure.hz, 1) + " Hz  " + measure.note.name + " " + signedWhole(measure.note.cents) +
           " cents  THD " + (measure.thd ? fixedDecimals(*measure.thd, 2) : "--") + " %";
}

std::string spectrumMeasureValues(const SpectrumMeasure& measure, bool clip)
{
    const std::string clipped = clip ? "1" : "0";
    if (!measure.tone) {
        return "- - - - " + clipped;
    }
    return fixedDecimals(measure.hz, 1) + " " + measure.note.name + " " + signedWhole(measure.note.cents) + " " +
           (measure.thd ? fixedDecimals(*measure.thd, 2) : "-") + " " + clipped;
}
