#include "wavemon/wave_trace.h"

#include <gtest/gtest.h>

namespace {

TEST(TraceRow, FullScaleSamplesSpanTheWindow)
{
    EXPECT_EQ(traceRow(-1.0f, 1.0f), 0);
    EXPECT_EQ(traceRow(32767.0f / 32768.0f, 1.0f), 400);
    EXPECT_EQ(traceRow(0.5f, 1.0f), 300);
    EXPECT_EQ(traceRow(-0.5f, 1.0f), 100);
    EXPECT_EQ(traceRow(0.0f, 1.0f), 200);
}

TEST(TraceRow, HalvesGoToTheEvenRow)
{
    // 2048 / 32768 gives t = 212.5 and its negative 187.5.
    EXPECT_EQ(traceRow(0.0625f, 1.0f), 212);
    EXPECT_EQ(traceRow(-0.0625f, 1.0f), 188);
    // 3 / 32768 x 4 x 200 = 0.0732..., not a tie: rounds down to 200.
    EXPECT_EQ(traceRow(3.0f / 32768.0f, 4.0f), 200);
    // 201.5 and 202.5 both go to 202.
    EXPECT_EQ(traceRow(1.5f / 200.0f, 1.0f), 202);
    EXPECT_EQ(traceRow(2.5f / 200.0f, 1.0f), 202);
}

TEST(TraceRow, EveryStepIsRoundedToSingle)
{
    // At the scale 0.7 gives, exact arithmetic lands these samples just off a
    // half (112.5000015, 217.4999997); the single-precision chain lands on the
    // half itself and then rounds to even.
    const float scale = 0.699999988f;
    EXPECT_EQ(traceRow(-20480.0f / 32768.0f, scale), 112);
    EXPECT_EQ(traceRow(4096.0f / 32768.0f, scale), 218);
    EXPECT_EQ(traceRow(-18432.0f / 32768.0f, 1.39999998f), 42);
}

TEST(TraceRow, LargeScalesLeaveTheWindow)
{
    EXPECT_EQ(traceRow(32767.0f / 32768.0f, 10.0f), 2200);
    EXPECT_EQ(traceRow(-1.0f, 10.0f), -1800);
    EXPECT_EQ(traceRow(0.1f, 10.0f), 400);
}

} // namespace
