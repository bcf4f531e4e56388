#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "specmon/spectrum_fft.h"
#include "specmon/spectrum_levels.h"
#include "tests/specmon/spectrum_test_support.h"

namespace {

TEST(SpectrumDecibels, PowerOfEachBin)
{
    float re[fftSize] = {};
    float im[fftSize] = {};
    float db[spectrumBins];
    re[1] = 3.0f;
    im[1] = -4.0f;
    im[2] = 1.0f;
    re[1023] = 0.001f;
    // The upper half is never read.
    for (int64_t i = spectrumBins; i < fftSize; ++i) {
        re[i] = std::numeric_limits<float>::quiet_NaN();
        im[i] = std::numeric_limits<float>::quiet_NaN();
    }
    powerToDecibels(re, im, db);
    EXPECT_EQ(db[0], -190.0f);
    EXPECT_FLOAT_EQ(db[1], 13.9794001f);
    EXPECT_EQ(db[2], 0.0f);
    EXPECT_FLOAT_EQ(db[1023], -60.0f);
}

TEST(SpectrumDecibels, SquaresAreRoundedBeforeTheSum)
{
    // Powers just above 1 read a few millionths of a decibel, so the one-unit
    // change a fused multiply-add makes in the power shows in the level.
    float re[fftSize];
    float im[fftSize];
    float db[spectrumBins];
    for (int64_t i = 0; i < fftSize; ++i) {
        const double angle = 0.001 * static_cast<double>(i);
        re[i] = static_cast<float>(1.0001 * std::cos(angle));
        im[i] = static_cast<float>(1.0001 * std::sin(angle));
    }
    powerToDecibels(re, im, db);
    int64_t fusedDiffers = 0;
    for (int64_t i = 0; i < spectrumBins; ++i) {
        volatile float reSquare = re[i] * re[i];
        volatile float imSquare = im[i] * im[i];
        const float power = reSquare + imSquare;
        const float expected = static_cast<float>(10.0 * std::log10(static_cast<double>(power) + 1e-19));
        const float fusedRe = std::fma(re[i], re[i], imSquare);
        const float fusedIm = std::fma(im[i], im[i], reSquare);
        if (fusedRe != power || fusedIm != power) {
            ++fusedDiffers;
        }
        ASSERT_EQ(floatBits(db[i]), floatBits(expected)) << i;
    }
    EXPECT_GT(fusedDiffers, 100) << "the input no longer tells fused from separate rounding";
}

class SpectrumFrame : public ::testing::Test {
protected:
    void SetUp() override { fft(re, im, -1, 1); }
    void analyse() { analyseFrame(re, im, db); }
    float re[fftSize] = {};
    float im[fftSize] = {};
    float db[spectrumBins] = {};
};

TEST_F(SpectrumFrame, SilenceReadsTheFloorInEveryBin)
{
    fillConstant(db, 1.0f);
    analyse();
    for (int64_t i = 0; i < spectrumBins; ++i) {
        ASSERT_EQ(db[i], -190.0f) << i;
    }
}

TEST_F(SpectrumFrame, ConstantInputLeaksIntoTheFirstBins)
{
    fillConstant(re, 1.0f);
    analyse();
    // Bin 0 is the window sum 1105.46 squared.
    EXPECT_NEAR(db[0], 60.87, 0.01);
    EXPECT_NEAR(db[1], 53.46, 0.01);
    EXPECT_NEAR(db[2], -16.28, 0.01);
    EXPECT_NEAR(db[3], -24.80, 0.01);
    fillConstant(re, 0.5f);
    fillConstant(im, 0.0f);
    analyse();
    EXPECT_NEAR(db[0], 54.85, 0.01);
}

TEST_F(SpectrumFrame, CosineAtBin100)
{
    for (int64_t t = 0; t < fftSize; ++t) {
        const int64_t phase = (100 * t) % fftSize;
        re[t] = static_cast<float>(std::cos(2.0 * std::numbers::pi * static_cast<double>(phase) / 2048.0));
    }
    analyse();
    EXPECT_NEAR(db[100], 54.85, 0.01);
    EXPECT_NEAR(db[99], 47.44, 0.01);
    EXPECT_NEAR(db[101], 47.44, 0.01);
    EXPECT_NEAR(db[98], -22.3, 0.05);
    EXPECT_NEAR(db[102], -22.3, 0.05);
    EXPECT_NEAR(db[103], -30.8, 0.05);
}

// A 1500 Hz tone at half scale, captured as 16-bit samples at 48000 per
// second: exactly 64 periods in 2048 samples, so it falls on bin 64.
TEST_F(SpectrumFrame, HalfScaleTone1500HzFallsOnBin64)
{
    for (int64_t t = 0; t < fftSize; ++t) {
        const double angle = 2.0 * std::numbers::pi * 1500.0 * static_cast<double>(t) / 48000.0;
        re[t] = static_cast<float>(std::round(16384.0 * std::sin(angle))) / 32768.0f;
    }
    analyse();
    EXPECT_NEAR(db[64], 48.8, 0.1);
    EXPECT_NEAR(db[63], 41.4, 0.1);
    EXPECT_NEAR(db[65], 41.4, 0.1);
    EXPECT_EQ(floatBits(db[64]), 0x42435187u); // 48.8296165
    EXPECT_EQ(floatBits(db[63]), 0x4225b029u); // 41.4220314
    EXPECT_EQ(floatBits(db[65]), 0x4225b029u);
    EXPECT_LT(db[62], -25.0f);
    EXPECT_LT(db[66], -25.0f);
}

TEST_F(SpectrumFrame, LevelsKeepTheirBits)
{
    struct GoldenLevel {
        int64_t bin;
        uint32_t bits;
    };
    fillConstant(re, 1.0f);
    analyse();
    const GoldenLevel constant[] = {{0, 0x42737bc3u}, {1, 0x4255da64u}, {2, 0xc1823526u}, {3, 0xc1c66038u}};
    for (const GoldenLevel& golden : constant) {
        EXPECT_EQ(floatBits(db[golden.bin]), golden.bits) << "constant, bin " << golden.bin;
    }
    fillNoise(re, 3);
    fillConstant(im, 0.0f);
    analyse();
    const GoldenLevel noise[] = {
        {0, 0x41dfa3ceu}, {5, 0x41068b83u}, {64, 0x41c6b3e2u}, {511, 0x41c50c07u}, {1023, 0x41bfb796u},
    };
    for (const GoldenLevel& golden : noise) {
        EXPECT_EQ(floatBits(db[golden.bin]), golden.bits) << "noise, bin " << golden.bin;
    }
}

} // namespace
