#include "monitor/graticule.h"

#include <gtest/gtest.h>

#include <tuple>

#include "monitor/monitor_window.h"

namespace {

// A row label sits above its line until its glyph box would reach into the
// rows kept clear at the top, then below it until that reaches them too, then
// nowhere; column labels stay one blank row under those rows. The wider
// keep-out reaches down to screen row 18.
TEST(Graticule, LabelsKeepOutOfTheTopRowsAboveOrBelowTheirLine)
{
    constexpr int64_t top = labelKeepOutRows;
    MonitorOptions measuring;
    measuring.measure = true;
    const int64_t wider = gridKeepOutRows(measuring);
    ASSERT_EQ(wider, 19) << "with the measurement line, screen rows 0 to 18";
    ASSERT_EQ(gridKeepOutRows(MonitorOptions{}), top);
    const std::tuple<int64_t, int64_t, std::optional<int64_t>> cases[] = {
        {top, 0, 2},    {top, 382, 384},   {top, 383, 373},   {top, 394, 384}, {top, 395, {}},
        {top, 400, {}}, {wider, 372, 374}, {wider, 373, 363}, {wider, 385, {}}};
    for (const auto& [keepOutRows, y, bottom] : cases) {
        EXPECT_EQ(rowLabelBottom(y, keepOutRows), bottom) << "line at " << y << ", " << keepOutRows << " rows clear";
    }
    EXPECT_EQ(monitorHeight - columnLabelBottom(top) - glyphSize, top + 1) << "screen row of a column label's top";
    EXPECT_EQ(monitorHeight - columnLabelBottom(wider) - glyphSize, wider + 1);
}

} // namespace
