#include "wavemon/wave_trace.h"

#include <cmath>

#include "monitor/monitor_window.h"
#include "plot/plot_helpers.h"

int64_t traceRow(float value, float scale)
{
    const float scaled = value * scale;
    const float pixels = scaled * traceGain;
    const float row = pixels + static_cast<float>(traceZeroRow);
    // The default rounding mode rounds halves to even.
    return static_cast<int64_t>(std::nearbyint(row));
}

void drawWaveHelp()
{
    plotText(helpLineX, buttonHelpY, "click mouse button to change Y-axis scale", textColour);
    plotText(helpLineX, exitHelpY, exitHelp, textColour);
}

void drawTrace(const float (&buffer)[traceLength], float scale)
{
    clearMonitorWindow();
    for (int64_t i = 0; i < tracePoints; ++i) {
        plotPoint(i, traceRow(buffer[i], scale), traceColour);
    }
    drawWaveHelp();
}
