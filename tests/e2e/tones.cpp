#include "tests/e2e/tones.h"

#include <cmath>
#include <numbers>

#include "rig/pulse_server.h"

namespace e2e {

int16_t toneSample(int64_t period, int64_t n)
{
    const double phase = 2.0 * std::numbers::pi * static_cast<double>(n % period) / static_cast<double>(period);
    return static_cast<int16_t>(std::lround(16384.0 * std::sin(phase)));
}

int16_t sineSourceSample(int64_t n)
{
    return rig::sineSample(rig::pulseSampleRate / sineSourcePeriod, n);
}

} // namespace e2e
