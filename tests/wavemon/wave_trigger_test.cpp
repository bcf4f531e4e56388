#include "wavemon/wave_trigger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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

// The search window's ends: a crossing at sample 512 and at 1535 counts, one
// at 511 or 1536 does not.
TEST(WaveTrigger, CrossingsCountFrom512To1535)
{
    for (const int64_t at : {int64_t{511}, triggerFirst, triggerLast, int64_t{1536}}) {
        float samples[traceLength];
        std::fill_n(samples, at, -0.5f);
        std::fill(samples + at, std::end(samples), 0.5f);
        const int64_t expected = at >= triggerFirst && at <= triggerLast ? at : -1;
        EXPECT_EQ(triggerIndex(samples, trigger(true)), expected) << "step at " << at;
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

} // namespace
