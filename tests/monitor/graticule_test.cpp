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
    constexpr int64_t wider = 19;
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
