#include "capture/capture_ring_internal.h"
#include "tests/capture/capture_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

class CaptureRingTest : public ::testing::Test {
protected:
    void SetUp() override { restoreCaptureStartState(); }

    // The clearing call, then the given samples.
    static void feedAfterClear(const std::vector<int16_t>& samples)
    {
        feedSample(0);
        for (int16_t sample : samples) {
            feedSample(sample);
        }
    }

    // Distinct, asymmetric samples: n of them, sample k being 3k - 1500.
    static std::vector<int16_t> rampSamples(int64_t n, int64_t firstK = 0)
    {
        std::vector<int16_t> samples;
        for (int64_t k = firstK; k < firstK + n; ++k) {
            samples.push_back(static_cast<int16_t>(3 * k - 1500));
        }
        return samples;
    }

    static float normalised(int16_t sample) { return static_cast<float>(sample / 32768.0); }

    static std::array<float, captureLength> snapshot()
    {
        std::array<float, captureLength> copy;
        std::copy_n(CaptureSnapshot, captureLength, copy.begin());
        return copy;
    }
};

TEST_F(CaptureRingTest, FirstCallClearsRingAndDropsItsSample)
{
    std::fill_n(CaptureRing, captureLength, 0.25f);
    for (int64_t i = 0; i < captureLength; ++i) {
        CaptureSnapshot[i] = static_cast<float>(i) + 0.5f;
    }
    const auto before = snapshot();

    const int16_t sample = 12345;
    EXPECT_EQ(captureCallback(&sample, nullptr, 1, nullptr, 0, nullptr), paContinue);

    EXPECT_EQ(ringClear, 0);
    EXPECT_EQ(ringWriteIndex, 0);
    for (int64_t i = 0; i < captureLength; ++i) {
        ASSERT_EQ(CaptureRing[i], 0.0f) << "ring slot " << i;
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(CaptureRingTest, SecondCallStoresInSlotZeroAndEndsTheSnapshot)
{
    feedSample(0);
    const int16_t sample = -7;
    EXPECT_EQ(captureCallback(&sample, nullptr, 1, nullptr, 0, nullptr), paContinue);

    EXPECT_EQ(ringWriteIndex, 1);
    EXPECT_EQ(CaptureRing[0], normalised(-7));
    EXPECT_EQ(CaptureSnapshot[captureLength - 1], normalised(-7));
    for (int64_t i = 0; i < captureLength - 1; ++i) {
        ASSERT_EQ(CaptureSnapshot[i], 0.0f) << "snapshot element " << i;
    }
}

TEST_F(CaptureRingTest, SamplesAreNormalisedExactly)
{
    feedAfterClear({-32768, 32767, 16384, 0, 1, -1});
    EXPECT_EQ(CaptureRing[0], -1.0f);
    EXPECT_EQ(CaptureRing[1], 0.999969482421875f);
    EXPECT_EQ(CaptureRing[2], 0.5f);
    EXPECT_EQ(CaptureRing[3], 0.0f);
    EXPECT_EQ(CaptureRing[4], 0x1p-15f);
    EXPECT_EQ(CaptureRing[5], -0x1p-15f);
}

TEST_F(CaptureRingTest, RingWrapsAfter2048StoredSamples)
{
    const auto samples = rampSamples(captureLength + 5);
    feedAfterClear(std::vector<int16_t>(samples.begin(), samples.begin() + captureLength));

    EXPECT_EQ(ringWriteIndex, 0);
    for (int64_t i = 0; i < captureLength; ++i) {
        ASSERT_EQ(CaptureSnapshot[i], CaptureRing[i]) << "element " << i;
        ASSERT_EQ(CaptureSnapshot[i], normalised(samples[i])) << "element " << i;
    }

    for (int64_t k = captureLength; k < captureLength + 5; ++k) {
        feedSample(samples[k]);
    }
    EXPECT_EQ(ringWriteIndex, 5);
    EXPECT_EQ(CaptureRing[4], normalised(samples[captureLength + 4]));
    EXPECT_EQ(CaptureRing[5], normalised(samples[5]));
    for (int64_t i = 0; i < captureLength; ++i) {
        ASSERT_EQ(CaptureSnapshot[i], normalised(samples[i + 5])) << "element " << i;
    }
}

TEST_F(CaptureRingTest, HoldFreezesSnapshotWhileRingAdvances)
{
    feedAfterClear(rampSamples(100));
    raiseSnapshotHold();
    const auto held = snapshot();

    const auto meanwhile = rampSamples(300, 100);
    for (int16_t sample : meanwhile) {
        feedSample(sample);
    }
    EXPECT_EQ(ringWriteIndex, 400);
    EXPECT_EQ(CaptureRing[399], normalised(meanwhile.back()));
    EXPECT_EQ(snapshot(), held);

    lowerSnapshotHold();
    feedSample(4321);
    const auto all = rampSamples(400);
    for (int64_t k = 0; k < 400; ++k) {
        ASSERT_EQ(CaptureSnapshot[captureLength - 401 + k], normalised(all[k])) << "sample " << k;
    }
    EXPECT_EQ(CaptureSnapshot[captureLength - 1], normalised(4321));
    EXPECT_EQ(CaptureSnapshot[captureLength - 402], 0.0f);
}

// What the supervisor does once a stream is gone: the picture goes to
// silence, but never under a held snapshot, and the next stream's samples
// follow the silence.
TEST_F(CaptureRingTest, SilenceWaitsForTheHoldThenClearsRingAndSnapshot)
{
    feedAfterClear(rampSamples(3000));
    raiseSnapshotHold();
    const auto held = snapshot();
    EXPECT_FALSE(silenceCapture());
    EXPECT_EQ(snapshot(), held);
    lowerSnapshotHold();

    EXPECT_TRUE(silenceCapture());
    EXPECT_EQ(snapshot(), (std::array<float, captureLength>{}));
    feedSample(777);
    EXPECT_EQ(CaptureSnapshot[captureLength - 1], normalised(777));
    EXPECT_EQ(CaptureSnapshot[captureLength - 2], 0.0f);
}

TEST_F(CaptureRingTest, RebuildAfterLongHoldKeepsTheLatest2048)
{
    feedAfterClear(rampSamples(10));
    raiseSnapshotHold();
    const auto meanwhile = rampSamples(3000, 10);
    for (int16_t sample : meanwhile) {
        feedSample(sample);
    }
    lowerSnapshotHold();
    feedSample(-2);

    for (int64_t i = 0; i < captureLength - 1; ++i) {
        ASSERT_EQ(CaptureSnapshot[i], normalised(meanwhile[3000 - (captureLength - 1) + i])) << "element " << i;
    }
    EXPECT_EQ(CaptureSnapshot[captureLength - 1], normalised(-2));
}

TEST_F(CaptureRingTest, CopiesTakeEverySnapshotElementAndLowerTheHold)
{
    feedAfterClear(rampSamples(captureLength + 77));
    float destination[captureLength];
    float zeroed[captureLength];
    std::fill_n(destination, captureLength, 9.0f);
    copySnapshot(destination);
    EXPECT_EQ(snapshotHold.load(), 0);
    EXPECT_TRUE(std::equal(destination, destination + captureLength, CaptureSnapshot));

    feedSample(1);
    std::fill_n(zeroed, captureLength, -3.0f);
    copySnapshot(destination, zeroed);
    EXPECT_EQ(snapshotHold.load(), 0);
    EXPECT_EQ(destination[captureLength - 1], normalised(1));
    EXPECT_TRUE(std::equal(destination, destination + captureLength, CaptureSnapshot));
    EXPECT_TRUE(std::all_of(zeroed, zeroed + captureLength, [](float value) { return value == 0.0f; }));
}

// A copy tells how much of it the running stream has filled: the frames of
// a stream that has just started hold some of the silence before it.
TEST_F(CaptureRingTest, CopiesTellHowManyOfTheirValuesTheStreamFilled)
{
    float destination[captureLength];
    feedAfterClear(rampSamples(captureLength - 1));
    EXPECT_EQ(copySnapshot(destination), captureLength - 1);
    feedSample(5);
    EXPECT_EQ(copySnapshot(destination), captureLength);
    // A held rebuild keeps the count of the values it kept.
    raiseSnapshotHold();
    ASSERT_FALSE(silenceCapture());
    EXPECT_EQ(snapshotFill, captureLength);
    lowerSnapshotHold();
    feedSample(6);
    EXPECT_EQ(copySnapshot(destination), 1);
    ASSERT_TRUE(silenceCapture());
    EXPECT_EQ(copySnapshot(destination), 0);
}

} // namespace
