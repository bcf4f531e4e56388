#include "specmon/spectrum_levels.h"
#include "specmon/spectrum_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A transform whose bin i holds power power(i) (all in re).
template <typename Power>
void transformOf(float (&re)[fftSize], float (&im)[fftSize], Power power)
{
    std::fill(std::begin(im), std::end(im), 0.0f);
    for (int64_t i = 0; i < fftSize; ++i) {
        re[i] = std::sqrt(static_cast<float>(power(i)));
    }
}

TEST(PowerAverage, ASteadyToneAveragesToItsOwnLevel)
{
    static float re[fftSize];
    static float im[fftSize];
    static float steady[spectrumBins];
    static float averaged[spectrumBins];
    transformOf(re, im, [](int64_t i) { return i == 64 ? 76000.0 : 0.25; });
    powerToDecibels(re, im, steady);
    PowerAverage average;
    for (int frame = 0; frame < 10; ++frame) {
        averagePowers(average, re, im, 8, averaged);
        for (int64_t i = 0; i < spectrumBins; ++i) {
            ASSERT_FLOAT_EQ(averaged[i], steady[i]) << "bin " << i << ", frame " << frame;
        }
    }
}

// Frames that swing between two powers average in power, not in dB: 1 and
// 100 settle about 50.5 (17.0 dB), where decibels would give 10 (10 dB); and
// the swing of the average shrinks with N.
TEST(PowerAverage, AveragesThePowerAndNarrowsTheSpread)
{
    static float re[fftSize];
    static float im[fftSize];
    static float levels[spectrumBins];
    const auto swing = [](int frames) {
        PowerAverage average;
        float low = 1000.0f;
        float high = -1000.0f;
        for (int frame = 0; frame < 400; ++frame) {
            transformOf(re, im, [frame](int64_t) { return frame % 2 == 0 ? 1.0 : 100.0; });
            averagePowers(average, re, im, frames, levels);
            if (frame >= 300) {
                low = std::min(low, levels[5]);
                high = std::max(high, levels[5]);
            }
        }
        return std::pair(low, high);
    };
    const auto [low4, high4] = swing(4);
    const auto [low50, high50] = swing(50);
    EXPECT_NEAR((low50 + high50) / 2.0f, 10.0f * std::log10(50.5f), 0.1f);
    EXPECT_LT(high50 - low50, (high4 - low4) / 5.0f);
    // Each new frame weighs exactly 1/N: with N = 4, powers 1 then 5 average
    // to 1 + (5 - 1) / 4 = 2, that is 3.01 dB.
    PowerAverage twoFrames;
    for (const double power : {1.0, 5.0}) {
        transformOf(re, im, [power](int64_t) { return power; });
        averagePowers(twoFrames, re, im, 4, levels);
    }
    EXPECT_EQ(levels[5], powerLevel(2.0));
    // r: the next frame is taken whole again.
    PowerAverage restarted;
    transformOf(re, im, [](int64_t) { return 100.0; });
    averagePowers(restarted, re, im, 50, levels);
    EXPECT_FLOAT_EQ(levels[5], 20.0f);
}

TEST(PeakHold, HoldsTheHighestLevelOfEachBinSinceTheStart)
{
    static float frame[spectrumBins];
    PeakHold hold;
    std::fill(std::begin(frame), std::end(frame), -50.0f);
    frame[0] = 10.0f;
    holdPeaks(hold, frame);
    frame[0] = -20.0f;
    frame[spectrumBins - 1] = 30.0f;
    holdPeaks(hold, frame);
    EXPECT_EQ(hold.levelsDb[0], 10.0f);
    EXPECT_EQ(hold.levelsDb[spectrumBins - 1], 30.0f);
    EXPECT_EQ(hold.levelsDb[500], -50.0f);
    hold.started = false;
    holdPeaks(hold, frame);
    EXPECT_EQ(hold.levelsDb[0], -20.0f) << "a start takes the frame whole";
}

} // namespace
