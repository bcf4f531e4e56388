#include "specmon/spectrum_axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "specmon/spectrum_grid.h"

namespace {

// The logarithmic axis runs from bin 1 in column 1 to the last bin in the
// last column; its inverse gives every column back.
TEST(SpectrumAxis, TheLogarithmicAxisRunsFromBin1ToTheLastBin)
{
    EXPECT_DOUBLE_EQ(logColumnHz(1.0), binWidthHz);
    EXPECT_NEAR(logColumnHz(static_cast<double>(axisColumns)), static_cast<double>(spectrumBins - 1) * binWidthHz,
                1e-6);
    for (int64_t x = 1; x <= axisColumns; ++x) {
        ASSERT_EQ(logColumnOf(logColumnHz(static_cast<double>(x))), x);
    }
    EXPECT_EQ(columnHz(nullptr, 65), 1500.0);
}

// Where a column's span holds bins it shows the highest of them; below about
// 3.5 kHz, where it holds none, the level between the two bins around its
// frequency, along a straight line in dB.
TEST(SpectrumAxis, ColumnsTakeTheHighestBinOfTheirSpanOrInterpolate)
{
    LogAxis axis;
    buildLogAxis(axis);
    float ramp[spectrumBins];
    for (int64_t b = 0; b < spectrumBins; ++b) {
        ramp[b] = static_cast<float>(b);
    }
    float columns[axisColumns];
    columnLevels(&axis, ramp, columns);
    EXPECT_EQ(columns[0], 1.0f) << "column 1 holds bin 1";
    EXPECT_EQ(columns[axisColumns - 1], static_cast<float>(spectrumBins - 1)) << "the last holds the last bin";
    int64_t lastInterpolated = 0;
    for (int64_t x = 1; x <= axisColumns; ++x) {
        const LogColumn& column = axis.columns[x - 1];
        const double at = logColumnHz(static_cast<double>(x)) / binWidthHz;
        if (column.endBin == column.firstBin) {
            lastInterpolated = x;
            ASSERT_NEAR(columns[x - 1], at, 1e-3) << "column " << x;
        } else {
            ASSERT_EQ(columns[x - 1], static_cast<float>(column.endBin - 1)) << "column " << x;
        }
    }
    const double changeHz = logColumnHz(static_cast<double>(lastInterpolated));
    EXPECT_GT(changeHz, 3000.0);
    EXPECT_LT(changeHz, 4000.0);
    // The linear axis shows bin x - 1 in column x.
    columnLevels(nullptr, ramp, columns);
    EXPECT_EQ(columns[64], 64.0f);
}

// The logarithmic grid's lines from 30 Hz to 20 kHz, labelled at 1, 2 and 5
// of each decade from 50 Hz on.
TEST(SpectrumAxis, TheLogarithmicGridLines)
{
    const std::vector<FrequencyLine> lines = logFrequencyLines();
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines.front().column, logColumnOf(30.0));
    EXPECT_EQ(lines.back().column, logColumnOf(20000.0));
    std::string labels;
    for (const FrequencyLine& line : lines) {
        labels += line.label.empty() ? "" : line.label + ",";
    }
    EXPECT_EQ(labels, "50 Hz,100 Hz,200 Hz,500 Hz,1 kHz,2 kHz,5 kHz,10 kHz,20 kHz,");
}

} // namespace
