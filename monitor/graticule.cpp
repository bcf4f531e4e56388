#include "monitor/graticule.h"

#include "monitor/monitor_window.h"
#include "plot/logic/font8x8.h"
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

} // namespace

void drawGridColumn(int64_t x, std::string_view label)
{
    plotLine(x, 0, x, monitorHeight - 1, gridColour);
    if (label.empty()) {
        return;
    }
    const int64_t left = x - labelGap - textWidth(label);
    plotText(left >= 0 ? left : x + labelGap, topTextBottom - labelGap - glyphSize, label, gridLabelColour);
}

void drawGridRow(int64_t y, std::string_view label)
{
    plotLine(0, y, monitorWidth - 1, y, gridColour);
    if (label.empty()) {
        return;
    }
    const int64_t above = y + labelGap;
    const bool fitsAbove = above + glyphSize <= topTextBottom;
    plotText(monitorWidth - labelGap - textWidth(label), fitsAbove ? above : y - labelGap - glyphSize, label,
             gridLabelColour);
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
