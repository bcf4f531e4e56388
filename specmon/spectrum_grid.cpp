#include "specmon/spectrum_grid.h"

#include <cmath>
#include <vector>

#include "monitor/graticule.h"
#include "monitor/monitor_window.h"
#include "specmon/spectrum_axis.h"

int64_t kilohertzColumn(int64_t k)
{
    return 1 + std::llround(static_cast<double>(k) * 1000.0 / binWidthHz);
}

std::string kilohertzLabel(int64_t k)
{
    return k % gridLabelEveryKhz == 0 ? std::to_string(k) + " kHz" : std::string();
}

std::vector<FrequencyLine> logFrequencyLines()
{
    std::vector<FrequencyLine> lines;
    for (double decade = 10.0; decade <= logGridHighestHz; decade *= 10.0) {
        for (int64_t n = 1; n <= 9; ++n) {
            const double hz = static_cast<double>(n) * decade;
            if (hz < logGridLowestHz || hz > logGridHighestHz) {
                continue;
            }
            // The labels go at 1, 2 and 5 of each decade from 50 Hz on.
            const bool labelled = (n == 1 || n == 2 || n == 5) && hz >= 50.0;
            const auto whole = static_cast<int64_t>(hz);
            const std::string label =
                whole < 1000 ? std::to_string(whole) + " Hz" : std::to_string(whole / 1000) + " kHz";
            lines.push_back({logColumnOf(hz), labelled ? label : std::string()});
        }
    }
    return lines;
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

void drawSpectrumGrid(float offset, bool log, int64_t keepOutRows)
{
    std::vector<GridLine> columns;
    if (log) {
        for (const FrequencyLine& line : logFrequencyLines()) {
            columns.push_back({line.column, line.label});
        }
    } else {
        for (int64_t k = 1; k <= gridKilohertzLines; ++k) {
            columns.push_back({kilohertzColumn(k), kilohertzLabel(k)});
        }
    }
    const LevelLines lines = levelLines(offset);
    std::vector<GridLine> rows;
    for (int64_t i = 0; i < lines.count; ++i) {
        const int64_t levelDb = lines.firstDb + i * gridLevelStepDb;
        rows.push_back({levelRow(static_cast<float>(levelDb), offset), levelLabel(levelDb)});
    }
    drawGrid(columns, rows, keepOutRows);
}
