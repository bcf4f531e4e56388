#include "specmon/spectrum_grid.h"

#include <gtest/gtest.h>

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

} // namespace
