#include "wavemon/wave_trigger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

TriggerOption trigger(bool rising, float level = 0.0f)
{
    return {true, rising, level};
}

// A ramp from -1 up to 1 over the whole buffer, crossing 0 near the middle.
void ramp(float (&samples)[traceLength])
{
    for (int64_t i = 0; i < traceLength; ++i) {
        samples[i] = -1.0f + 2.0f * static_cast<float>(i) / static_cast<float>(traceLength);
    }
}

TEST(WaveTrigger, TheFirstCrossingInTheMiddleHalfInEitherDirection)
{
    float samples[traceLength];
    ramp(samples);
    EXPECT_EQ(triggerIndex(samples, trigger(true)), 1024);
    EXPECT_EQ(frameStart(samples, trigger(true)), 512);
    EXPECT_EQ(triggerIndex(samples, trigger(true, 0.5f)), -1) << "0.5 is crossed at 1536, past the middle half";
    EXPECT_EQ(triggerIndex(samples, trigger(true, -0.25f)), 768);
    EXPECT_EQ(triggerIndex(samples, trigger(false)), -1) << "a rising ramp never falls";
    EXPECT_EQ(frameStart(samples, trigger(false)), 0) << "no crossing: the older half";
    std::reverse(std::begin(samples), std::end(samples));
    EXPECT_EQ(triggerIndex(samples, trigger(false)), 1023) << "falling: sample 1023 is the first at or below 0";
}

// A signal held at each step's value from its first sample to the next
// step's, with a ripple added on even samples and taken off on odd ones.
struct Step {
    int64_t from;
    float value;
    float ripple = 0.0f;
};

// The crossing found in signals of steps: the search's ends (a crossing at
// 512 and at 1535 counts, one at 511 or 1536 does not), falling edges at
// levels other than 0, and the hysteresis across the search's start and
// from the first sample on.
TEST(WaveTrigger, TheFirstCountedCrossingOfStepsAndRipple)
{
    struct Case {
        const char* what;
        std::vector<Step> steps;
        TriggerOption trigger;
        int64_t expected;
    };
    const Case cases[] = {
        {"a rise at 511, before the search", {{0, -0.5f}, {511, 0.5f}}, trigger(true), -1},
        {"a rise at 512, the first sample searched", {{0, -0.5f}, {512, 0.5f}}, trigger(true), 512},
        {"a rise at 1535, the last", {{0, -0.5f}, {1535, 0.5f}}, trigger(true), 1535},
        {"a rise at 1536, after the search", {{0, -0.5f}, {1536, 0.5f}}, trigger(true), -1},
        {"a fall through 0.25", {{0, 0.5f}, {800, 0.2f}}, trigger(false, 0.25f), 800},
        {"a fall that ends at -0.5", {{0, -0.1f}, {900, -0.5f}}, trigger(false, -0.5f), 900},
        {"ripple inside the band after a crossing at 300", {{0, -0.5f}, {300, 0.0f, 0.004f}}, trigger(true), -1},
        {"a start inside the band", {{0, -0.005f}, {700, 0.5f}}, trigger(true), -1},
        {"a start inside the band, then below it", {{0, -0.005f}, {600, -0.5f}, {700, 0.5f}}, trigger(true), 700},
    };
    for (const Case& c : cases) {
        float samples[traceLength];
        for (size_t k = 0; k < c.steps.size(); ++k) {
            const Step& step = c.steps[k];
            const int64_t to = k + 1 < c.steps.size() ? c.steps[k + 1].from : traceLength;
            for (int64_t i = step.from; i < to; ++i) {
                samples[i] = step.value + (i % 2 == 0 ? step.ripple : -step.ripple);
            }
        }
        EXPECT_EQ(triggerIndex(samples, c.trigger), c.expected) << c.what;
    }
}

// Noise of 0.004 on a slow rising edge crosses the level many times; with
// the hysteresis only the first counts, so the next crossing is the edge's
// next rise, not the noise just after.
TEST(WaveTrigger, NoiseOnASlowEdgeTriggersOnceAnEdge)
{
    float samples[traceLength];
    for (int64_t i = 0; i < traceLength; ++i) {
        const float slow = 0.05f * std::sin(2.0f * 3.14159265f * static_cast<float>(i) / 1024.0f);
        samples[i] = slow + (i % 2 == 0 ? 0.004f : -0.004f);
    }
    // The slow sine rises through 0 at 0, 1024 and 2048: its crossing near
    // 1024 is the first that counts in the middle half, although the noise
    // crosses 0 at nearly every sample around 512's falling edge as well.
    const int64_t found = triggerIndex(samples, trigger(true));
    EXPECT_GE(found, 1005);
    EXPECT_LE(found, 1025);
    float flat[traceLength];
    for (int64_t i = 0; i < traceLength; ++i) {
        flat[i] = i % 2 == 0 ? 0.004f : -0.004f;
    }
    EXPECT_EQ(triggerIndex(flat, trigger(true)), -1) << "noise alone never swings beyond the hysteresis";
}

// The levels at the limit of --trigger arm and fire on a full-scale sine,
// whose samples reach 32767/32768 and -1: a period of 480 samples, rising
// from 0 at sample 0.
TEST(WaveTrigger, AFullScaleSineFiresAtTheLimitLevelsOfEitherSignAndEdge)
{
    float samples[traceLength];
    for (int64_t i = 0; i < traceLength; ++i) {
        const double sine = std::sin(2.0 * std::numbers::pi * static_cast<double>(i) / 480.0);
        samples[i] = static_cast<float>(std::clamp(std::lround(32768.0 * sine), -32768L, 32767L)) / 32768.0f;
    }
    EXPECT_EQ(triggerIndex(samples, trigger(true, 0.98f)), 585);
    EXPECT_EQ(triggerIndex(samples, trigger(false, 0.98f)), 616);
    EXPECT_EQ(triggerIndex(samples, trigger(true, -0.98f)), 856);
    EXPECT_EQ(triggerIndex(samples, trigger(false, -0.98f)), 825);
}

} // namespace
