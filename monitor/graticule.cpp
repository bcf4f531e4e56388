#include "monitor/graticule.h"

#include "monitor/monitor_window.h"
#include "plot/plot_helpers.h"

namespace {

// The gap between a line and its label.
constexpr int64_t labelGap = 2;

// How much wider a label's backing is than its text, on the left.
constexpr int64_t backingExtra = 1;

// The highest plot row at which a label's bottom keeps its glyph boxes out
// of the top keepOutRows screen rows.
int64_t highestLabelBottom(int64_t keepOutRows)
{
    return monitorHeight - keepOutRows - glyphSize;
}

// A label from plot point (x, y) on a black backing wider on the left: glyphs
// keep to their columns 1 to 5, so the lit pixels get two black columns on
// either side, whatever line runs beside them.
void drawLabel(int64_t x, int64_t y, std::string_view label)
{
    plotFilledBox(x - backingExtra, y, x + textWidth(label) - 1, y + glyphSize - 1, backgroundColour);
    plotText(x, y, label, gridLabelColour);
}

} // namespace

int64_t columnLabelBottom(int64_t keepOutRows)
{
    return highestLabelBottom(keepOutRows) - 1;
}

std::optional<int64_t> rowLabelBottom(int64_t y, int64_t keepOutRows)
{
    for (const int64_t bottom : {y + labelGap, y - labelGap - glyphSize}) {
        if (bottom >= 0 && bottom <= highestLabelBottom(keepOutRows)) {
            return bottom;
        }
    }
    return std::nullopt;
}

int64_t gridKeepOutRows(const MonitorOptions& options)
{
    return options.measure ? measureKeepOutRows : labelKeepOutRows;
}

void drawGrid(std::span<const GridLine> columns, std::span<const GridLine> rows, int64_t keepOutRows)
{
    for (const GridLine& column : columns) {
        plotLine(column.at, 0, column.at, monitorHeight - 1, gridColour);
    }
    for (const GridLine& row : rows) {
        plotLine(0, row.at, monitorWidth - 1, row.at, gridColour);
    }
    for (const GridLine& column : columns) {
        if (column.label.empty()) {
            continue;
        }
        const int64_t left = column.at - labelGap - textWidth(column.label);
        drawLabel(left - backingExtra >= 0 ? left : column.at + labelGap, columnLabelBottom(keepOutRows), column.label);
    }
    for (const GridLine& row : rows) {
        const std::optional<int64_t> bottom = rowLabelBottom(row.at, keepOutRows);
        if (!row.label.empty() && bottom) {
            drawLabel(monitorWidth - labelGap - textWidth(row.label), *bottom, row.label);
        }
    }
}
