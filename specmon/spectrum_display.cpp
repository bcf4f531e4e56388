#include "specmon/spectrum_display.h"

#include <cmath>
#include <string_view>

#include "monitor/monitor_window.h"
#include "plot/plot_helpers.h"

namespace {
void drawBackedLine(int64_t x, int64_t y, std::string_view text)
{
    plotTextBacking(x, y, static_cast<int64_t>(text.size()), backgroundColour);
    plotText(x, y, text, textColour);
}
} // namespace

float nextOffset(float offset, bool leftHeld, bool rightHeld)
{
    if (leftHeld) {
        offset -= offsetStep;
    }
    if (rightHeld) {
        offset += offsetStep;
    }
    if (!(offset >= offsetLowest)) {
        offset = offsetLowest;
    }
    if (offset > offsetHighest) {
        offset = offsetHighest;
    }
    return offset;
}

int64_t levelRow(float levelDb, float offset)
{
    const float scaled = pixelsPerDb * levelDb;
    const float row = scaled + offset;
    // The default rounding mode rounds halves to even.
    return static_cast<int64_t>(std::nearbyint(row));
}

void drawSpectrum(const float (&levelsDb)[spectrumBins], float offset, int64_t colour)
{
    int64_t prevY = 0;
    for (int64_t i = 0; i < spectrumBins; ++i) {
        const int64_t y = levelRow(levelsDb[i], offset);
        if (i == 0) {
            prevY = y;
        }
        plotLine(i, prevY, i + 1, y, colour);
        prevY = y;
    }
}

void drawSpectrumLegend()
{
    drawBackedLine(helpLineX, buttonHelpY, "click mouse button to change Y-axis offset");
    drawBackedLine(helpLineX, exitHelpY, exitHelp);
}
