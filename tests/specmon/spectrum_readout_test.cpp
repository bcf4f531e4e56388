#include "specmon/spectrum_readout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

// The readout on the linear axis, without a reference.
std::string readout(int64_t column, const float (&levelsDb)[spectrumBins])
{
    return spectrumReadout(column, levelsDb, nullptr, levelsDb, nullptr);
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
    EXPECT_EQ(readout(65, levels), "1500.0 Hz  48.00 dB  peak 1500.0 Hz  48.00 dB");
    EXPECT_EQ(readout(0, levels), "peak 1500.0 Hz  48.00 dB");
    EXPECT_EQ(readout(-1, levels), "peak 1500.0 Hz  48.00 dB");
    levels[65] = 48.0f;
    levels[66] = 40.0f;
    const SpectrumPeak between = refinedPeak(levels);
    EXPECT_DOUBLE_EQ(between.hz, 64.5 * binWidthHz);
    EXPECT_DOUBLE_EQ(between.db, 49.0);

    std::fill(std::begin(levels), std::end(levels), -190.0f);
    levels[0] = 10.0f;
    levels[1] = 5.0f;
    EXPECT_EQ(readout(1024, levels), "23976.6 Hz  -190.00 dB  peak 0.0 Hz  10.00 dB");
    levels[spectrumBins - 1] = 20.0f;
    EXPECT_DOUBLE_EQ(refinedPeak(levels).hz, 1023 * binWidthHz);
    std::fill(std::begin(levels), std::end(levels), -190.0f);
    EXPECT_DOUBLE_EQ(refinedPeak(levels).hz, 0.0) << "silence: the first of equals";
    // A level just under 0 dB that rounds to zero reads without a minus.
    levels[64] = -0.004f;
    EXPECT_EQ(readout(65, levels), "1500.0 Hz  0.00 dB  peak 1500.0 Hz  0.00 dB");
}

// With a reference, its level in the pointer's column joins the pointer's
// part; on the logarithmic axis the column tells the frequency it shows.
TEST(SpectrumReadout, TheReferenceAndTheLogarithmicAxisInThePointersPart)
{
    float levels[spectrumBins];
    std::fill(std::begin(levels), std::end(levels), -190.0f);
    levels[64] = 48.83f;
    float reference[spectrumBins];
    std::fill(std::begin(reference), std::end(reference), 45.63f);
    EXPECT_EQ(spectrumReadout(65, levels, nullptr, levels, reference),
              "1500.0 Hz  48.83 dB  ref 45.63 dB  peak 1500.0 Hz  48.83 dB");
    EXPECT_EQ(spectrumReadout(0, levels, nullptr, levels, reference), "peak 1500.0 Hz  48.83 dB");
    LogAxis axis;
    buildLogAxis(axis);
    float columns[axisColumns];
    columnLevels(&axis, levels, columns);
    EXPECT_EQ(spectrumReadout(1, levels, &axis, columns, nullptr), "23.4 Hz  -190.00 dB  peak 1500.0 Hz  48.83 dB");
    EXPECT_EQ(spectrumReadout(axisColumns, levels, &axis, columns, nullptr),
              "23976.6 Hz  -190.00 dB  peak 1500.0 Hz  48.83 dB");
}

} // namespace
