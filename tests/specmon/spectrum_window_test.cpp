#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "specmon/spectrum_window.h"
#include "tests/specmon/spectrum_test_support.h"

namespace {

TEST(SpectrumHamming, WeightsOf2048Points)
{
    float weights[fftSize];
    fillConstant(weights, 1.0f);
    applyHamming(weights, fftSize);
    EXPECT_EQ(weights[0], 0.08f);
    EXPECT_EQ(weights[2047], 0.08f);
    EXPECT_FLOAT_EQ(weights[1023], 0.9999995f);
    EXPECT_FLOAT_EQ(weights[1024], 0.9999995f);
    double sum = 0.0;
    for (int64_t i = 0; i < fftSize; ++i) {
        // Mirrored angles round differently in double precision, so allow one
        // unit in the last place between mirrored weights.
        ASSERT_LE(std::fabs(weights[i] - weights[2047 - i]), ulpOf(weights[i])) << i;
        const long double exact =
            0.54L - 0.46L * std::cos(2.0L * std::numbers::pi_v<long double> * static_cast<long double>(i) / 2047.0L);
        ASSERT_LE(std::fabs(static_cast<long double>(weights[i]) - exact), ulpOf(weights[i])) << i;
        sum += weights[i];
    }
    EXPECT_NEAR(sum, 1105.46, 0.005);
}

TEST(SpectrumHamming, ScalesEachSampleByItsOwnWeight)
{
    float weights[fftSize];
    float data[fftSize];
    fillConstant(weights, 1.0f);
    applyHamming(weights, fftSize);
    for (int64_t i = 0; i < fftSize; ++i) {
        data[i] = static_cast<float>(i - 700) / 256.0f;
    }
    applyHamming(data, fftSize);
    for (int64_t i = 0; i < fftSize; ++i) {
        const float sample = static_cast<float>(i - 700) / 256.0f;
        // The weight is only rounded after the product, so the result may be
        // one unit away from the product with the rounded weight.
        const float viaRoundedWeight = weights[i] * sample;
        ASSERT_LE(std::fabs(data[i] - viaRoundedWeight), ulpOf(viaRoundedWeight)) << i;
    }
}

TEST(SpectrumHamming, ShortLengthUsesItsOwnWeightsAndLeavesTheRest)
{
    float data[fftSize];
    fillConstant(data, 2.0f);
    applyHamming(data, 5);
    // For length 5 the angles are 0, pi/2, pi, 3pi/2 and 2pi.
    EXPECT_FLOAT_EQ(data[0], 0.16f);
    EXPECT_FLOAT_EQ(data[1], 1.08f);
    EXPECT_EQ(data[2], 2.0f);
    EXPECT_FLOAT_EQ(data[3], 1.08f);
    EXPECT_FLOAT_EQ(data[4], 0.16f);
    for (int64_t i = 5; i < fftSize; ++i) {
        ASSERT_EQ(data[i], 2.0f) << i;
    }
}

} // namespace
