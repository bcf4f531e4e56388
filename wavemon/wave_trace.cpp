#include "wavemon/wave_trace.h"

#include <cmath>
#include <optional>
#include <vector>

#include "monitor/frozen_mark.h"
#include "monitor/graticule.h"
#include "monitor/measure_line.h"
#include "monitor/monitor_window.h"
#include "monitor/readout_line.h"
#include "plot/plot_helpers.h"
#include "wavemon/wave_grid.h"
#include "wavemon/wave_readout.h"

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

namespace {

void drawWaveGrid(float scale, int64_t keepOutRows)
{
    std::vector<GridLine> columns;
    for (int64_t k = 1; k <= gridTimeColumns; ++k) {
        columns.push_back({timeLineColumn(k), timeLineLabel(k)});
    }
    const AmplitudeStep step = amplitudeStep(scale);
    const int64_t lines = amplitudeLines(step, scale);
    std::vector<GridLine> rows;
    for (int64_t k = -lines; k <= lines; ++k) {
        rows.push_back(
            {traceRow(static_cast<float>(static_cast<double>(k) * step.value()), scale), amplitudeLabel(step, k)});
    }
    drawGrid(columns, rows, keepOutRows);
}

} // namespace

void drawTrace(const float (&buffer)[traceLength], const TraceView& view)
{
    clearMonitorWindow();
    if (view.grid) {
        drawWaveGrid(view.scale, view.gridKeepOut);
    }
    if (view.reference != nullptr) {
        for (int64_t i = 0; i < tracePoints; ++i) {
            plotPoint(i, traceRow(view.reference[i], view.scale), referenceColour);
        }
    }
    for (int64_t i = 0; i < tracePoints; ++i) {
        plotPoint(i, traceRow(buffer[view.first + i], view.scale), traceColour);
    }
    drawWaveHelp();
    if (view.readoutColumn >= 0 && view.readoutColumn < tracePoints) {
        const std::optional<float> reference =
            view.reference != nullptr ? std::optional(view.reference[view.readoutColumn]) : std::nullopt;
        drawReadout(waveReadout(view.readoutColumn, buffer[view.first + view.readoutColumn], reference));
    }
    if (view.frozen) {
        drawFrozenMark();
    }
    if (!view.measureLine.empty()) {
        drawMeasureLine(view.measureLine, view.clip);
    }
}
