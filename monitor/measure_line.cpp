#include "monitor/measure_line.h"

#include <algorithm>

#include "capture/capture_format.h"
#include "monitor/monitor_window.h"
#include "plot/plot_helpers.h"

bool holdsFullScale(std::span<const float> samples)
{
    constexpr auto highest = static_cast<float>((sampleScale - 1.0) / sampleScale);
    constexpr auto lowest = static_cast<float>(-1.0);
    return std::any_of(samples.begin(), samples.end(),
                       [](float sample) { return sample >= highest || sample <= lowest; });
}

void drawMeasureLine(std::string_view text, bool clip)
{
    drawTextRow(measureRowTop, 0, text);
    if (clip) {
        const int64_t x = textWidth(text);
        drawTextRow(measureRowTop, x, clipMark, clipColour);
    }
}
