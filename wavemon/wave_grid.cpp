#include "wavemon/wave_grid.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "monitor/monitor_window.h"

namespace {

// The highest plot row inside the window.
constexpr int64_t topRow = monitorHeight - 1;

// The step after this one in the series: 1, 2, 5, 10, 20, ...
AmplitudeStep larger(AmplitudeStep step)
{
    if (step.mantissa == 5) {
        return {1, step.exponent + 1};
    }
    return {step.mantissa == 1 ? 2 : 5, step.exponent};
}

} // namespace

int64_t timeLineColumn(int64_t k)
{
    return k * gridTimeStepMs * samplesPerMs;
}

std::string timeLineLabel(int64_t k)
{
    return std::to_string(k * gridTimeStepMs) + " ms";
}

double AmplitudeStep::value() const
{
    return static_cast<double>(mantissa) * std::pow(10.0, static_cast<double>(exponent));
}

int64_t amplitudeLines(AmplitudeStep step, float scale)
{
    int64_t lines = 0;
    while (traceRow(static_cast<float>(static_cast<double>(lines + 1) * step.value()), scale) <= topRow) {
        ++lines;
    }
    return lines;
}

AmplitudeStep amplitudeStep(float scale)
{
    // Upwards from a step that shows a hundred lines at the largest scale.
    AmplitudeStep step{1, -3};
    while (amplitudeLines(step, scale) > maxAmplitudeLines) {
        step = larger(step);
    }
    return step;
}

std::string amplitudeLabel(AmplitudeStep step, int64_t k)
{
    if (k == 0) {
        return "0";
    }
    // |k| x mantissa units of ten to the exponent, written in decimals.
    int64_t units = std::llabs(k) * step.mantissa;
    std::string text;
    if (step.exponent >= 0) {
        for (int64_t e = 0; e < step.exponent; ++e) {
            units *= 10;
        }
        text = std::to_string(units);
    } else {
        int64_t perWhole = 1;
        for (int64_t e = 0; e < -step.exponent; ++e) {
            perWhole *= 10;
        }
        char fraction[24];
        std::snprintf(fraction, sizeof fraction, "%0*lld", static_cast<int>(-step.exponent),
                      static_cast<long long>(units % perWhole));
        std::string decimals = fraction;
        decimals.erase(decimals.find_last_not_of('0') + 1);
        text = std::to_string(units / perWhole) + (decimals.empty() ? "" : "." + decimals);
    }
    return (k > 0 ? "+" : "-") + text;
}
