#include "wavemon/scale_control.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<float> holdFor(int frames, bool left, bool right)
{
    std::vector<float> seen;
    float scale = scaleStart;
    for (int i = 0; i < frames; ++i) {
        scale = nextScale(scale, left, right);
        seen.push_back(scale);
    }
    return seen;
}

TEST(ScaleControl, LeftButtonShrinksToTheFloor)
{
    const std::vector<float> expected = {0.699999988f, 0.489999980f, 0.342999995f, 0.240099996f,
                                         0.168070003f, 0.117649004f, 0.1f,         0.1f};
    EXPECT_EQ(holdFor(8, true, false), expected);
    // The floor is the single nearest to 0.1, which lies above it.
    EXPECT_GT(static_cast<double>(holdFor(8, true, false).back()), 0.1);
}

TEST(ScaleControl, RightButtonGrowsToTheCeiling)
{
    const std::vector<float> expected = {1.39999998f, 1.95999992f, 2.74399996f, 3.84159994f,
                                         5.37824011f, 7.52953625f, 10.0f,       10.0f};
    EXPECT_EQ(holdFor(8, false, true), expected);
}

TEST(ScaleControl, BothButtonsApplyLeftThenRight)
{
    EXPECT_EQ(nextScale(1.0f, true, true), 0.979999959f);
    // At the ceiling, 10 x 0.7 x 1.4 stays below 10 and is kept.
    EXPECT_LT(nextScale(10.0f, true, true), 10.0f);
}

TEST(ScaleControl, NoButtonLeavesTheScaleAlone)
{
    EXPECT_EQ(nextScale(1.0f, false, false), 1.0f);
    EXPECT_EQ(nextScale(0.1f, false, false), 0.1f);
    EXPECT_EQ(nextScale(10.0f, false, false), 10.0f);
}

} // namespace
