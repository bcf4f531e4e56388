#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "specmon/spectrum_fft.h"
#include "specmon/spectrum_tables.h"
#include "tests/specmon/spectrum_test_support.h"

namespace {

// Bit reversal by shifting, independent of the greedy subtraction under test.
int64_t reverseBits(int64_t value, int64_t bits)
{
    int64_t reversed = 0;
    for (int64_t b = 0; b < bits; ++b) {
        reversed = (reversed << 1) | ((value >> b) & 1);
    }
    return reversed;
}

class SpectrumTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillConstant(re, 0.25f);
        fillConstant(im, -0.75f);
        fft(re, im, -1, 1);
    }
    float re[fftSize] = {};
    float im[fftSize] = {};
};

TEST(SpectrumCountHalvings, GivesLog2OfPowersOfTwo)
{
    EXPECT_EQ(countHalvings(2), 1);
    EXPECT_EQ(countHalvings(4), 2);
    EXPECT_EQ(countHalvings(1024), 10);
    EXPECT_EQ(countHalvings(2048), 11);
}

TEST_F(SpectrumTables, InitialisationLeavesTheDataAlone)
{
    for (int64_t i = 0; i < fftSize; ++i) {
        ASSERT_EQ(re[i], 0.25f) << i;
        ASSERT_EQ(im[i], -0.75f) << i;
    }
}

TEST_F(SpectrumTables, ExactEntriesAndQuarterWaveSymmetries)
{
    EXPECT_EQ(cosTable[0], 1.0f);
    EXPECT_EQ(sinTable[0], 0.0f);
    EXPECT_EQ(cosTable[512], 0.0f);
    EXPECT_EQ(sinTable[512], 1.0f);
    EXPECT_EQ(cosTable[1], sinTable[511]);
    EXPECT_EQ(cosTable[1], sinTable[513]);
    EXPECT_EQ(cosTable[1023], -cosTable[1]);
    for (int64_t i = 1; i < 512; ++i) {
        ASSERT_EQ(floatBits(cosTable[1024 - i]), floatBits(-cosTable[i])) << i;
        ASSERT_EQ(floatBits(sinTable[512 - i]), floatBits(cosTable[i])) << i;
        ASSERT_EQ(floatBits(sinTable[512 + i]), floatBits(cosTable[i])) << i;
    }
}

TEST_F(SpectrumTables, EntriesAreTheRoundedCosinesAndSines)
{
    // Rounding to single loses at most half a unit in the last place; the
    // double-precision cosine adds a negligible error on top (the absolute
    // slack covers the exact zeros, whose neighbours are subnormal).
    for (int64_t k = 0; k < fftTableSize; ++k) {
        const long double angle = 2.0L * std::numbers::pi_v<long double> * static_cast<long double>(k) / 2048.0L;
        const float c = cosTable[k];
        const float s = sinTable[k];
        ASSERT_LE(std::fabs(static_cast<long double>(c) - std::cos(angle)), 0.5001L * ulpOf(c) + 1e-15L) << k;
        ASSERT_LE(std::fabs(static_cast<long double>(s) - std::sin(angle)), 0.5001L * ulpOf(s) + 1e-15L) << k;
    }
}

TEST_F(SpectrumTables, ReinitialisationWritesTheSameValues)
{
    const std::vector<float> cosBefore(std::begin(cosTable), std::end(cosTable));
    const std::vector<int64_t> toBefore(std::begin(swapTo), std::end(swapTo));
    cosTable[3] = 5.0f;
    swapTo[991] = 0;
    swapCount = 0;
    fft(re, im, 1, 7);
    EXPECT_EQ(std::vector<float>(std::begin(cosTable), std::end(cosTable)), cosBefore);
    EXPECT_EQ(std::vector<int64_t>(std::begin(swapTo), std::end(swapTo)), toBefore);
    EXPECT_EQ(swapCount, 992);
}

TEST(SpectrumTwiddleTables, SmallSizeFillsOnlyItsHalf)
{
    float cosOut[fftTableSize];
    float sinOut[fftTableSize];
    for (int64_t i = 0; i < fftTableSize; ++i) {
        cosOut[i] = 9.0f;
        sinOut[i] = 9.0f;
    }
    buildTwiddleTables(cosOut, sinOut, 8);
    const float r = static_cast<float>(std::cos(std::numbers::pi / 4.0));
    EXPECT_EQ(cosOut[0], 1.0f);
    EXPECT_EQ(cosOut[1], r);
    EXPECT_EQ(cosOut[2], 0.0f);
    EXPECT_EQ(cosOut[3], -r);
    EXPECT_EQ(sinOut[0], 0.0f);
    EXPECT_EQ(sinOut[1], r);
    EXPECT_EQ(sinOut[2], 1.0f);
    EXPECT_EQ(sinOut[3], r);
    EXPECT_EQ(cosOut[4], 9.0f);
    EXPECT_EQ(sinOut[4], 9.0f);
}

TEST_F(SpectrumTables, SwapListOf2048Points)
{
    ASSERT_EQ(swapCount, 992);
    const int64_t firstFrom[] = {1, 2, 3, 4, 5, 6};
    const int64_t firstTo[] = {1024, 512, 1536, 256, 1280, 768};
    for (int64_t k = 0; k < 6; ++k) {
        EXPECT_EQ(swapFrom[k], firstFrom[k]) << k;
        EXPECT_EQ(swapTo[k], firstTo[k]) << k;
    }
    EXPECT_EQ(swapFrom[991], 1983);
    EXPECT_EQ(swapTo[991], 2031);
    for (int64_t k = 0; k < swapCount; ++k) {
        ASSERT_LT(swapFrom[k], swapTo[k]) << k;
        if (k > 0) {
            ASSERT_LT(swapFrom[k - 1], swapFrom[k]) << k;
        }
    }
}

TEST_F(SpectrumTables, SwapListEqualsTheIntegerBitReversal)
{
    int64_t pairs = 0;
    int64_t ownReversal = 0;
    for (int64_t i = 0; i < fftSize; ++i) {
        const int64_t j = reverseBits(i, 11);
        if (i == j) {
            ++ownReversal;
        } else if (i < j) {
            ASSERT_LT(pairs, swapCount);
            ASSERT_EQ(swapFrom[pairs], i);
            ASSERT_EQ(swapTo[pairs], j);
            ++pairs;
        }
    }
    EXPECT_EQ(pairs, swapCount);
    EXPECT_EQ(ownReversal, 64);
}

TEST(SpectrumSwapList, SmallSizes)
{
    int64_t from[fftTableSize] = {};
    int64_t to[fftTableSize] = {};
    int64_t count = -1;
    buildSwapList(from, to, count, 2);
    EXPECT_EQ(count, 0);
    buildSwapList(from, to, count, 16);
    ASSERT_EQ(count, 6);
    const int64_t wantFrom[] = {1, 2, 3, 5, 7, 11};
    const int64_t wantTo[] = {8, 4, 12, 10, 14, 13};
    for (int64_t k = 0; k < 6; ++k) {
        EXPECT_EQ(from[k], wantFrom[k]) << k;
        EXPECT_EQ(to[k], wantTo[k]) << k;
    }
}

TEST_F(SpectrumTables, ApplyingTheSwapListReversesIndicesAndUndoesItself)
{
    float data[fftSize];
    for (int64_t i = 0; i < fftSize; ++i) {
        data[i] = static_cast<float>(i);
    }
    applySwapList(data, swapFrom, swapTo, swapCount);
    for (int64_t i = 0; i < fftSize; ++i) {
        ASSERT_EQ(data[i], static_cast<float>(reverseBits(i, 11))) << i;
    }
    applySwapList(data, swapFrom, swapTo, swapCount);
    for (int64_t i = 0; i < fftSize; ++i) {
        ASSERT_EQ(data[i], static_cast<float>(i)) << i;
    }
}

TEST(SpectrumSwapList, AppliesOnlyTheFirstCountPairsInOrder)
{
    float data[fftSize] = {};
    data[0] = 10.0f;
    data[1] = 11.0f;
    data[2] = 12.0f;
    int64_t from[fftTableSize] = {0, 1, 0};
    int64_t to[fftTableSize] = {1, 2, 2};
    applySwapList(data, from, to, 2);
    EXPECT_EQ(data[0], 11.0f);
    EXPECT_EQ(data[1], 12.0f);
    EXPECT_EQ(data[2], 10.0f);
}

} // namespace
