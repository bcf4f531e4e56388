#include "wavemon/wave_measure.h"

#include <algorithm>
#include <cmath>

#include "capture/capture_format.h"
#include "monitor/measure_line.h"
#include "monitor/number_text.h"

namespace {

double levelDb(double amplitude)
{
    return amplitude > 0.0 ? std::max(20.0 * std::log10(amplitude), levelFloorDb) : levelFloorDb;
}

std::optional<double> countedHz(const float (&samples)[traceLength], double lowest, double highest)
{
    if (highest - lowest < minimumSwing) {
        return std::nullopt;
    }
    const double middle = (highest + lowest) / 2.0;
    const double armLevel = middle - (highest - lowest) / 10.0;
    bool armed = false;
    int64_t crossings = 0;
    double first = 0.0;
    double last = 0.0;
    for (int64_t i = 0; i < traceLength; ++i) {
        const double now = samples[i];
        if (now <= armLevel) {
            armed = true;
        } else if (armed && now >= middle) {
            // Armed means every sample since the arming one lay below the
            // middle, so the line rises through it between i - 1 and i.
            const double before = samples[i - 1];
            last = static_cast<double>(i - 1) + (middle - before) / (now - before);
            first = crossings == 0 ? last : first;
            ++crossings;
            armed = false;
        }
    }
    if (crossings < 2) {
        return std::nullopt;
    }
    return captureRate * static_cast<double>(crossings - 1) / (last - first);
}

} // namespace

WaveMeasure measureWave(const float (&samples)[traceLength])
{
    double sum = 0.0;
    double squares = 0.0;
    double lowest = samples[0];
    double highest = samples[0];
    for (const float sample : samples) {
        sum += sample;
        squares += static_cast<double>(sample) * sample;
        lowest = std::min<double>(lowest, sample);
        highest = std::max<double>(highest, sample);
    }
    WaveMeasure measure;
    const auto count = static_cast<double>(traceLength);
    measure.rmsDb = levelDb(std::sqrt(squares / count));
    measure.peakDb = levelDb(std::max(-lowest, highest));
    measure.dc = sum / count;
    measure.hz = countedHz(samples, lowest, highest);
    measure.clip = holdsFullScale(samples);
    return measure;
}

std::string waveMeasureLine(const WaveMeasure& measure)
{
    return "RMS " + fixedDecimals(measure.rmsDb, 2) + " dBFS  peak " + fixedDecimals(measure.peakDb, 2) + " dBFS  DC " +
           signedFixedDecimals(measure.dc, 4) + "  " + (measure.hz ? fixedDecimals(*measure.hz, 1) : "---") + " Hz";
}

std::string waveMeasureValues(const WaveMeasure& measure)
{
    return fixedDecimals(measure.rmsDb, 2) + " " + fixedDecimals(measure.peakDb, 2) + " " +
           signedFixedDecimals(measure.dc, 4) + " " + (measure.hz ? fixedDecimals(*measure.hz, 1) : "-") + " " +
           (measure.clip ? "1" : "0");
}
