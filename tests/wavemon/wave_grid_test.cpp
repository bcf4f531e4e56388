#include "wavemon/scale_control.h"
#include "wavemon/wave_grid.h"

#include <gtest/gtest.h>

namespace {

// At every scale the step puts 2 to 5 lines above zero, inside the window;
// at the scale's ends it reaches past full scale and down to fifths of a
// tenth.
TEST(WaveGrid, TheStepShowsTwoToFiveLinesAboveZeroAtEveryScale)
{
    struct Case {
        float scale;
        double step;
        int64_t lines;
    };
    const Case cases[] = {
        {static_cast<float>(scaleFloor), 2.0, 5},
        {0.2f, 1.0, 5},
        {0.7f, 0.5, 2},
        {scaleStart, 0.2, 5},
        {1.4f, 0.2, 3},
        {static_cast<float>(scaleCeiling), 0.02, 5},
    };
    for (const Case& c : cases) {
        const AmplitudeStep step = amplitudeStep(c.scale);
        EXPECT_DOUBLE_EQ(step.value(), c.step) << "scale " << c.scale;
        EXPECT_EQ(amplitudeLines(step, c.scale), c.lines) << "scale " << c.scale;
        EXPECT_EQ(traceRow(static_cast<float>(step.value() * static_cast<double>(c.lines)), c.scale) <= 400, true);
    }
    for (float scale = static_cast<float>(scaleFloor); scale <= scaleCeiling; scale *= 1.05f) {
        const int64_t lines = amplitudeLines(amplitudeStep(scale), scale);
        EXPECT_GE(lines, 2) << "scale " << scale;
        EXPECT_LE(lines, maxAmplitudeLines) << "scale " << scale;
    }
}

TEST(WaveGrid, LabelsAreExactDecimalsWithTheirSign)
{
    EXPECT_EQ(amplitudeLabel({5, -1}, 1), "+0.5");
    EXPECT_EQ(amplitudeLabel({5, -1}, -1), "-0.5");
    EXPECT_EQ(amplitudeLabel({2, -1}, 3), "+0.6");
    EXPECT_EQ(amplitudeLabel({2, -2}, 5), "+0.1");
    EXPECT_EQ(amplitudeLabel({2, -2}, -4), "-0.08");
    EXPECT_EQ(amplitudeLabel({2, 0}, 5), "+10");
    EXPECT_EQ(amplitudeLabel({1, 0}, 0), "0");
    EXPECT_EQ(timeLineColumn(1), 96);
    EXPECT_EQ(timeLineColumn(gridTimeColumns), 960);
    EXPECT_EQ(timeLineLabel(gridTimeColumns), "20 ms");
}

} // namespace
