#include "wavemon/wave_readout.h"

#include <gtest/gtest.h>

namespace {

TEST(WaveReadout, TimeOfTheColumnAndTheSampleWithItsSign)
{
    EXPECT_EQ(waveReadout(96, 0.25f), "2.00 ms  +0.2500");
    EXPECT_EQ(waveReadout(0, 0.0f), "0.00 ms  +0.0000");
    EXPECT_EQ(waveReadout(1023, -1.0f), "21.31 ms  -1.0000");
    EXPECT_EQ(waveReadout(1, 32767.0f / 32768.0f), "0.02 ms  +1.0000");
    // A small negative sample rounded to zero has no minus; one digit more keeps it.
    EXPECT_EQ(waveReadout(0, -0.00001f), "0.00 ms  +0.0000");
    EXPECT_EQ(waveReadout(0, -0.0f), "0.00 ms  +0.0000");
    EXPECT_EQ(waveReadout(0, -0.00006f), "0.00 ms  -0.0001");
    // With a reference, its sample in the column follows.
    EXPECT_EQ(waveReadout(96, 0.25f, 0.24f), "2.00 ms  +0.2500  ref +0.2400");
}

} // namespace
