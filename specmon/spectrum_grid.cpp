#include "specmon/spectrum_grid.h"

#include <cmath>
#include <vector>

#include "monitor/graticule.h"
#include "monitor/monitor_window.h"

int64_t kilohertzColumn(int64_t k)
{
    return 1 + std::llround(static_cast<double>(k) * 1000.0 / binWidthHz);
}

std::string kilohertzLabel(int64_t k)
{
    return k % gridLabelEveryKhz == 0 ? std::to_string(k) + " kHz" : std::string();
}

LevelLines levelLines(float offset)
{
    // The window's rows hold the levels from -offset / pixelsPerDb up to
    // (top - offset) / pixelsPerDb; a step or two beyond each end is looked
    // at, and the rows themselves decide.
    const auto lowest = static_cast<int64_t>(std::floor(-offset / pixelsPerDb / gridLevelStepDb)) - 1;
    const auto highest = static_cast<int64_t>(std::ceil((monitorHeight - offset) / pixelsPerDb / gridLevelStepDb)) + 1;
    LevelLines lines;
    for (int64_t step = lowest; step <= highest; ++step) {
        const int64_t row = levelRow(static_cast<float>(step * gridLevelStepDb), offset);
        if (row < 0 || row >= monitorHeight) {
            continue;
        }
        if (lines.count == 0) {
            lines.firstDb = step * gridLevelStepDb;
        }
        ++lines.count;
    }
    return lines;
}

std::string levelLabel(int64_t levelDb)
{
    return std::to_string(levelDb) + " dB";
}

void drawSpectrumGrid(float offset, int64_t keepOutRows)
{
    std::vector<GridLine> columns;
    for (int64_t k = 1; k <= gridKilohertzLines; ++k) {
        columns.push_back({kilohertzColumn(k), kilohertzLabel(k)});
    }
    const LevelLines lines = levelLines(offset);
    std::vector<GridLine> rows;
    for (int64_t i = 0; i < lines.count; ++i) {
        const int64_t levelDb = lines.firstDb + i * gridLevelStepDb;
        rows.push_back({levelRow(static_cast<float>(levelDb), offset), levelLabel(levelDb)});
    }
    drawGrid(columns, rows, keepOutRows);
}
