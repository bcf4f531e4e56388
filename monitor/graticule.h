// The lines and labels of a grid (--grid), as both programs draw it. The
// grid goes in dark grey under the trace, its labels in light grey over all
// of its lines, placed so that they never cover the help lines at the bottom
// left and keep clear of the window's top text row, which is the readout's.
// Any thread; the drawing goes through the plot helpers, the placement of
// labels is pure.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "monitor/monitor_options.h"
#include "monitor/monitor_window.h"
#include "plot/plot_helpers.h"

// Palette indices of the default palette: dark grey (85, 85, 85) and light
// grey (170, 170, 170).
inline constexpr int64_t gridColour = 8;
inline constexpr int64_t gridLabelColour = 7;

// The screen rows at the top that no label touches with any pixel of its
// glyph boxes: the top text row and one blank row under it, so that a label
// never reads as part of the readout; with the measurement line (--measure),
// its row and one blank row under it as well.
inline constexpr int64_t labelKeepOutRows = glyphSize + 1;
inline constexpr int64_t measureKeepOutRows = measureRowTop + glyphSize + 1;

// The rows the labels keep out of, with the options given.
int64_t gridKeepOutRows(const MonitorOptions& options);

// The plot row of the bottom of every column label, for labels that keep out
// of the top keepOutRows screen rows: one blank row under them.
int64_t columnLabelBottom(int64_t keepOutRows);

// The plot row of the bottom of the label of the horizontal line at plot row
// y: just above the line, or just below it where above would reach into the
// top keepOutRows screen rows; none where below would too, or would leave the
// window.
std::optional<int64_t> rowLabelBottom(int64_t y, int64_t keepOutRows);

// One line of a grid: its column (a vertical line) or plot row (a horizontal
// one), and its label, empty for none.
struct GridLine {
    int64_t at = 0;
    std::string label;
};

// Draws a grid: every vertical line over the whole height and every
// horizontal line over the whole width first, then every label, so that no
// line crosses a label. A column label goes left of its line (right of it
// where the left has no room), a row label at the right edge; each on a black
// backing one column wider than its text, on its left; every label keeps out
// of the top keepOutRows screen rows.
void drawGrid(std::span<const GridLine> columns, std::span<const GridLine> rows, int64_t keepOutRows);
