#include "specmon/spectrum_grid.h"
#include "specmon/spectrum_readout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(SpectrumGrid, KilohertzLinesSitOnTheirBinsAndEveryOtherIsLabelled)
{
    EXPECT_EQ(gridKilohertzLines, 23);
    EXPECT_EQ(kilohertzColumn(1), 44);
    EXPECT_EQ(kilohertzColumn(2), 86);
    EXPECT_EQ(kilohertzColumn(23), 982);
    EXPECT_EQ(kilohertzLabel(1), "");
    EXPECT_EQ(kilohertzLabel(22), "22 kHz");
}

// Every multiple of 10 dB whose row is inside the window, at the offset's
// ends and between.
TEST(SpectrumGrid, LevelLinesFollowTheOffsetToBothEnds)
{
    struct Case {
        float offset;
        int64_t firstDb;
        int64_t count;
    };
    const Case cases[] = {{offsetLowest, 20, 9}, {offsetStart, -20, 9}, {offsetHighest, -40, 9}, {105.0f, -20, 8}};
    for (const Case& c : cases) {
        const LevelLines lines = levelLines(c.offset);
        EXPECT_EQ(lines.firstDb, c.firstDb) << "offset " << c.offset;
        EXPECT_EQ(lines.count, c.count) << "offset " << c.offset;
    }
    EXPECT_EQ(levelLabel(-10), "-10 dB");
}

// The peak between bins comes from the parabola through the strongest bin
// and its neighbours; at either end of the spectrum, and on a plateau, it is
// the bin itself.
TEST(SpectrumReadout, ThePeakIsRefinedBetweenBinsExceptAtTheEnds)
{
    float levels[spectrumBins];
    std::fill(std::begin(levels), std::end(levels), -190.0f);
    levels[63] = 40.0f;
    levels[64] = 48.0f;
    levels[65] = 40.0f;
    EXPECT_EQ(spectrumReadout(65, levels), "1500.0 Hz  48.00 dB  peak 1500.0 Hz  48.00 dB");
    EXPECT_EQ(spectrumReadout(0, levels), "peak 1500.0 Hz  48.00 dB");
    EXPECT_EQ(spectrumReadout(-1, levels), "peak 1500.0 Hz  48.00 dB");
    levels[65] = 48.0f;
    levels[66] = 40.0f;
    const SpectrumPeak between = refinedPeak(levels);
    EXPECT_DOUBLE_EQ(between.hz, 64.5 * binWidthHz);
    EXPECT_DOUBLE_EQ(between.db, 49.0);

    std::fill(std::begin(levels), std::end(levels), -190.0f);
    levels[0] = 10.0f;
    levels[1] = 5.0f;
    EXPECT_EQ(spectrumReadout(1024, levels), "23976.6 Hz  -190.00 dB  peak 0.0 Hz  10.00 dB");
    levels[spectrumBins - 1] = 20.0f;
    EXPECT_DOUBLE_EQ(refinedPeak(levels).hz, 1023 * binWidthHz);
    std::fill(std::begin(levels), std::end(levels), -190.0f);
    EXPECT_DOUBLE_EQ(refinedPeak(levels).hz, 0.0) << "silence: the first of equals";
    // A level just under 0 dB that rounds to zero reads without a minus.
    levels[64] = -0.004f;
    EXPECT_EQ(spectrumReadout(65, levels), "1500.0 Hz  0.00 dB  peak 1500.0 Hz  0.00 dB");
}

} // namespace
