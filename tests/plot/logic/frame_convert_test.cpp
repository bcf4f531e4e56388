#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plot/logic/frame_convert.h"

namespace {

constexpr int32_t width = 5;

// A frame of rows whose bytes all differ, and a copy of it as last shown.
class ChangedRows : public testing::Test {
protected:
    explicit ChangedRows(int32_t height = 9) : frame(static_cast<size_t>(width * height)), shown(frame.size())
    {
        for (size_t i = 0; i < frame.size(); ++i) {
            frame[i] = static_cast<uint8_t>(i * 3 + 1);
        }
        shown = frame;
    }

    void change(int32_t row, int32_t column) { ++frame[static_cast<size_t>(row * width + column)]; }

    RowRuns take(RowSpan span, bool everyRow = false)
    {
        return takeChangedRows(frame.data(), shown.data(), width, span, everyRow);
    }

    bool rowShown(int32_t row) const
    {
        return std::memcmp(frame.data() + row * width, shown.data() + row * width, width) == 0;
    }

    std::vector<uint8_t> frame;
    std::vector<uint8_t> shown;
};

void expectRuns(const RowRuns& changed, const std::vector<RowSpan>& expected)
{
    ASSERT_EQ(changed.count, static_cast<int32_t>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(changed.runs[i].first, expected[i].first) << "run " << i;
        EXPECT_EQ(changed.runs[i].last, expected[i].last) << "run " << i;
    }
}

TEST_F(ChangedRows, OnlyRowsWhoseBytesDifferAreReportedAsRunsAndCopied)
{
    change(1, 4); // the last byte of a row
    change(2, 2);
    change(5, 0); // the first byte of a row
    change(8, 1);
    change(8, 3);
    expectRuns(take({0, 8}), {{1, 2}, {5, 5}, {8, 8}});
    EXPECT_EQ(shown, frame);
    expectRuns(take({0, 8}), {});
}

TEST_F(ChangedRows, RowsOutsideTheSpanAreNeitherReportedNorCopied)
{
    change(0, 0);
    change(3, 1);
    change(7, 4);
    expectRuns(take({2, 6}), {{3, 3}});
    EXPECT_FALSE(rowShown(0));
    EXPECT_TRUE(rowShown(3));
    EXPECT_FALSE(rowShown(7));
    expectRuns(take({5, 4}), {});
    EXPECT_FALSE(rowShown(7));
}

TEST_F(ChangedRows, EveryRowReportsTheWholeSpanEvenUnchanged)
{
    change(4, 2);
    expectRuns(take({0, 8}, true), {{0, 8}});
    EXPECT_EQ(shown, frame);
    shown.assign(shown.size(), 0);
    expectRuns(take({2, 6}, true), {{2, 6}});
    EXPECT_FALSE(rowShown(1));
    EXPECT_TRUE(rowShown(2));
    EXPECT_TRUE(rowShown(6));
    EXPECT_FALSE(rowShown(7));
}

class ManyChangedRows : public ChangedRows {
protected:
    ManyChangedRows() : ChangedRows(2 * maxRowRuns + 7) {}
};

TEST_F(ManyChangedRows, BeyondTheLastRunFurtherChangesJoinIt)
{
    // Every other row changed: maxRowRuns + 3 single rows.
    for (int32_t row = 1; row < 2 * maxRowRuns + 7; row += 2) {
        change(row, row % width);
    }
    const RowRuns changed = take({0, 2 * maxRowRuns + 6});
    std::vector<RowSpan> expected;
    for (int32_t run = 0; run < maxRowRuns - 1; ++run) {
        expected.push_back({2 * run + 1, 2 * run + 1});
    }
    expected.push_back({2 * maxRowRuns - 1, 2 * maxRowRuns + 5});
    expectRuns(changed, expected);
    EXPECT_EQ(shown, frame);
}

} // namespace
