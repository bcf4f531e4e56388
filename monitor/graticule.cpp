#include "monitor/graticule.h"

#include "monitor/monitor_window.h"
#include "plot/plot_helpers.h"

namespace {

// The plot row of the bottom of the top text row, and the gap between a line
// and its label.
constexpr int64_t topTextBottom = monitorHeight - glyphSize;
constexpr int64_t labelGap = 2;

int64_t textWidth(std::string_view text)
{
    return glyphSize * static_cast<int64_t>(text.size());
}

// Text in the top text row from column x, on a black backing.
void drawTopText(int64_t x, std::string_view text)
{
    plotFilledBox(x, topTextBottom, x + textWidth(text) - 1, monitorHeight - 1, backgroundColour);
    plotText(x, topTextBottom, text, textColour);
}

// The highest plot row at which a label's bottom keeps its glyph boxes out
// of the top keepOutRows screen rows.
int64_t highestLabelBottom(int64_t keepOutRows)
{
    return monitorHeight - keepOutRows - glyphSize;
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

void drawGridColumn(int64_t x, std::string_view label)
{
    plotLine(x, 0, x, monitorHeight - 1, gridColour);
    if (label.empty()) {
        return;
    }
    const int64_t left = x - labelGap - textWidth(label);
    plotText(left >= 0 ? left : x + labelGap, columnLabelBottom(labelKeepOutRows), label, gridLabelColour);
}

void drawGridRow(int64_t y, std::string_view label)
{
    plotLine(0, y, monitorWidth - 1, y, gridColour);
    const std::optional<int64_t> bottom = rowLabelBottom(y, labelKeepOutRows);
    if (!label.empty() && bottom) {
        plotText(monitorWidth - labelGap - textWidth(label), *bottom, label, gridLabelColour);
    }
}

void drawReadout(std::string_view text)
{
    if (!text.empty()) {
        drawTopText(0, text);
    }
}

void drawFrozenMark()
{
    constexpr std::string_view mark = "frozen";
    drawTopText(monitorWidth - textWidth(mark), mark);
}
