#include "specmon/spectrum_display.h"

#include <gtest/gtest.h>

namespace {

TEST(OffsetControl, LeftButtonMovesDownToTheFloor)
{
    float offset = offsetStart;
    for (int frame = 0; frame < 19; ++frame) {
        offset = nextOffset(offset, true, false);
    }
    EXPECT_EQ(offset, -90.0f);
    offset = nextOffset(offset, true, false);
    EXPECT_EQ(offset, -100.0f);
    EXPECT_EQ(nextOffset(offset, true, false), -100.0f);
}

TEST(OffsetControl, RightButtonMovesUpToTheCeiling)
{
    float offset = offsetStart;
    for (int frame = 0; frame < 10; ++frame) {
        offset = nextOffset(offset, false, true);
    }
    EXPECT_EQ(offset, 200.0f);
    EXPECT_EQ(nextOffset(offset, false, true), 200.0f);
}

TEST(OffsetControl, BothButtonsCancel)
{
    EXPECT_EQ(nextOffset(100.0f, true, true), 100.0f);
    // At a limit the step down and back up happen before the clamp.
    EXPECT_EQ(nextOffset(-100.0f, true, true), -100.0f);
    EXPECT_EQ(nextOffset(200.0f, true, true), 200.0f);
    EXPECT_EQ(nextOffset(37.0f, false, false), 37.0f);
}

TEST(LevelRow, FiveRowsPerDecibelAboveTheOffset)
{
    EXPECT_EQ(levelRow(0.0f, 100.0f), 100);
    EXPECT_EQ(levelRow(-190.0f, 200.0f), -750);
    EXPECT_EQ(levelRow(48.8296165f, 100.0f), 344);
    EXPECT_EQ(levelRow(-20.0f, -100.0f), -200);
}

TEST(LevelRow, HalvesGoToTheEvenRow)
{
    EXPECT_EQ(levelRow(0.5f, 100.0f), 102); // 102.5
    EXPECT_EQ(levelRow(0.7f, 100.0f), 104); // 3.5 + 100 = 103.5 in single precision
    EXPECT_EQ(levelRow(-0.5f, 100.0f), 98); // 97.5
    EXPECT_EQ(levelRow(-0.3f, 0.0f), -2);   // -1.5
}

} // namespace
