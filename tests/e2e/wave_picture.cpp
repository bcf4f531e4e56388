#include "tests/e2e/wave_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace e2e {

namespace {
constexpr int64_t zeroRow = 200;
} // namespace

int64_t waveRow(float value, float scale)
{
    const float scaled = value * scale;
    const float pixels = scaled * 200.0f;
    const float row = pixels + 200.0f;
    return static_cast<int64_t>(std::nearbyint(row));
}

Picture wavePicture(const std::vector<int64_t>& plotRows)
{
    Picture picture;
    for (int x = 0; x < wavePoints; ++x) {
        plotPixel(picture, x, plotRows[static_cast<size_t>(x)], traceColour);
    }
    for (const TextLine& line : waveHelpLines) {
        drawTextLine(picture, line, textColour);
    }
    return picture;
}

Picture flatWavePicture(int64_t plotRow)
{
    return wavePicture(std::vector<int64_t>(wavePoints, plotRow));
}

std::string checkWaveWithin(const rig::RgbImage& image, int maxDistance)
{
    std::string problem = checkPalette(image);
    if (problem.empty()) {
        problem = compareText(image, waveHelpLines, false);
    }
    for (int x = 0; x < windowWidth && problem.empty(); ++x) {
        const std::vector<int> rows = traceRowsOf(image, x);
        const size_t expected = x < wavePoints ? 1 : 0;
        if (rows.size() != expected) {
            problem = "column " + std::to_string(x) + " has " + std::to_string(rows.size()) + " trace pixels";
        } else if (!rows.empty() && std::abs(windowRow(zeroRow) - rows.front()) > maxDistance) {
            problem =
                "column " + std::to_string(x) + " has its trace pixel on window row " + std::to_string(rows.front());
        }
    }
    return problem;
}

int waveSpread(const rig::RgbImage& image)
{
    int spread = -1;
    for (int x = 0; x < image.width; ++x) {
        for (const int row : traceRowsOf(image, x)) {
            spread = std::max(spread, std::abs(windowRow(zeroRow) - row));
        }
    }
    return spread;
}

std::vector<int64_t> shownWaveRows(const rig::RgbImage& image)
{
    std::vector<int64_t> rows(wavePoints, -1);
    for (int x = 0; x < wavePoints && x < image.width; ++x) {
        const std::vector<int> shown = traceRowsOf(image, x);
        if (shown.size() == 1) {
            rows[static_cast<size_t>(x)] = plotRowOf(shown.front());
        }
    }
    return rows;
}

} // namespace e2e
