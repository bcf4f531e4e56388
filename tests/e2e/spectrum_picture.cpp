#include "tests/e2e/spectrum_picture.h"

#include <algorithm>
#include <cmath>

namespace e2e {

int64_t levelRow(float levelDb, float offset)
{
    const float scaled = rowsPerDb * levelDb;
    const float row = scaled + offset;
    return static_cast<int64_t>(std::nearbyint(row));
}

Picture legendOnlyPicture()
{
    Picture picture;
    for (const TextLine& line : spectrumLegendLines) {
        drawBacking(picture, line);
        drawTextLine(picture, line, textColour);
    }
    return picture;
}

std::string checkSpectrumTrace(const rig::RgbImage& image, const std::vector<float>& levelsDb, float offset)
{
    std::string problem = checkPalette(image);
    if (problem.empty()) {
        problem = compareText(image, spectrumLegendLines, true);
    }
    if (!problem.empty()) {
        return problem;
    }
    const auto lit = [&](int x, int row) {
        return onBacking(spectrumLegendLines, x, row) || hasColour(image, x, row, traceColour);
    };
    std::vector<bool> allowed(static_cast<size_t>(windowWidth) * windowHeight, false);
    int64_t previous = levelRow(levelsDb[0], offset);
    for (int i = 0; i < spectrumBins; ++i) {
        const int64_t current = levelRow(levelsDb[static_cast<size_t>(i)], offset);
        const int64_t low = std::max<int64_t>(std::min(previous, current), 0);
        const int64_t high = std::min<int64_t>(std::max(previous, current), windowHeight - 1);
        for (int64_t y = low; y <= high; ++y) {
            const int row = windowRow(y);
            allowed[static_cast<size_t>(row) * windowWidth + static_cast<size_t>(i)] = true;
            allowed[static_cast<size_t>(row) * windowWidth + static_cast<size_t>(i) + 1] = true;
            const bool endsHere = (y == previous && !lit(i, row)) || (y == current && !lit(i + 1, row));
            if (endsHere || (!lit(i, row) && !lit(i + 1, row))) {
                return "segment of bin " + std::to_string(i) + " (plot rows " + std::to_string(previous) + " to " +
                       std::to_string(current) + ") is not lit at plot row " + std::to_string(y) + " in columns " +
                       std::to_string(i) + ".." + std::to_string(i + 1);
            }
        }
        previous = current;
    }
    for (int row = 0; row < windowHeight; ++row) {
        for (int x = 0; x < windowWidth; ++x) {
            if (hasColour(image, x, row, traceColour) && !allowed[static_cast<size_t>(row) * windowWidth + x]) {
                return "trace pixel off the polyline at column " + std::to_string(x) + ", plot row " +
                       std::to_string(plotRowOf(row));
            }
        }
    }
    return {};
}

int topTraceRow(const rig::RgbImage& image, int x, uint8_t colour)
{
    const std::vector<int> rows = traceRowsOf(image, x, colour);
    return rows.empty() ? -1 : static_cast<int>(plotRowOf(rows.front()));
}

} // namespace e2e
