#include "wavemon/wave_measure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <numbers>

namespace {

struct Samples {
    float values[traceLength];
    explicit Samples(const std::function<double(int64_t)>& signal)
    {
        for (int64_t i = 0; i < traceLength; ++i) {
            values[i] = static_cast<float>(std::round(signal(i) * 32768.0) / 32768.0);
        }
    }
};

// Silence, a steady level, a tone and a full-scale square, as the line and
// the values for scripts give them.
TEST(WaveMeasure, LevelsMeanAndFrequencyOfWhatTheyAreMadeOf)
{
    const struct {
        const char* name;
        std::function<double(int64_t)> signal;
        const char* line;
        const char* values;
    } cases[] = {
        {"silence", [](int64_t) { return 0.0; }, "RMS -190.00 dBFS  peak -190.00 dBFS  DC +0.0000  --- Hz",
         "-190.00 -190.00 +0.0000 - 0"},
        {"a steady quarter", [](int64_t) { return -0.25; }, "RMS -12.04 dBFS  peak -12.04 dBFS  DC -0.2500  --- Hz",
         "-12.04 -12.04 -0.2500 - 0"},
        {"1500 Hz at half scale", [](int64_t i) { return 0.5 * std::sin(2.0 * std::numbers::pi * i / 32.0); },
         "RMS -9.03 dBFS  peak -6.02 dBFS  DC +0.0000  1500.0 Hz", "-9.03 -6.02 +0.0000 1500.0 0"},
        {"a full-scale 1500 Hz square", [](int64_t i) { return i % 32 < 16 ? 32767.0 / 32768.0 : -1.0; },
         "RMS 0.00 dBFS  peak 0.00 dBFS  DC +0.0000  1500.0 Hz", "0.00 0.00 +0.0000 1500.0 1"},
    };
    for (const auto& c : cases) {
        const WaveMeasure measure = measureWave(Samples(c.signal).values);
        EXPECT_EQ(waveMeasureLine(measure), c.line) << c.name;
        EXPECT_EQ(waveMeasureValues(measure), c.values) << c.name;
    }
}

// A crossing needs the signal a tenth of its swing under the middle first:
// ripple around the middle counts once, a single rise not at all, and a
// swing under a thousandth has no frequency.
TEST(WaveMeasure, CrossingsCountOnlyAfterTheSignalWasWellBelowTheMiddle)
{
    const auto rippled = [](int64_t i) {
        const double square = i % 96 < 48 ? 0.5 : -0.5;
        return square + ((i % 96 == 10 || i % 96 == 12) ? -0.55 : 0.0);
    };
    EXPECT_EQ(measureWave(Samples(rippled).values).hz.value_or(0.0), 500.0);
    EXPECT_FALSE(measureWave(Samples([](int64_t i) { return i < 1000 ? -0.5 : 0.5; }).values).hz);
    EXPECT_FALSE(measureWave(Samples([](int64_t i) { return i % 2 == 0 ? 0.0004 : -0.0004; }).values).hz);
    EXPECT_TRUE(measureWave(Samples([](int64_t i) { return i % 2 == 0 ? 0.0006 : -0.0006; }).values).hz);
}

} // namespace
