#include "bench/process/screen_probe.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A waveform frame spans the window: 1024 of its 1025 columns carry a point.
constexpr int64_t waveFrameColumns = 900;

bool waveFirstFrame(const rig::RgbImage& image)
{
    return columnsWithColour(image, traceRgb) >= waveFrameColumns;
}

bool waveSilence(const rig::RgbImage& image)
{
    return columnsWithColourOnRow(image, traceRgb, waveZeroRow) >= waveFrameColumns &&
           farthestFromRow(image, traceRgb, waveZeroRow) <= waveSignalReach;
}

bool waveSignal(const rig::RgbImage& image)
{
    return farthestFromRow(image, traceRgb, waveZeroRow) > waveSignalReach;
}

// Silence puts every level far below the window, leaving only the legend.
bool spectrumFirstFrame(const rig::RgbImage& image)
{
    return hasColour(image, traceRgb) && hasColour(image, textRgb);
}

bool spectrumSilence(const rig::RgbImage& image)
{
    return hasColour(image, textRgb) && !hasColour(image, traceRgb);
}

bool spectrumSignal(const rig::RgbImage& image)
{
    return hasColour(image, traceRgb);
}

bool pixelIs(const rig::RgbImage& image, int x, int y, rig::Rgb colour)
{
    return image.pixel(x, y) == colour;
}

} // namespace

const ScreenProbe wavemonProbe{waveFirstFrame, waveSilence, waveSignal};
const ScreenProbe specmonProbe{spectrumFirstFrame, spectrumSilence, spectrumSignal};

int64_t columnsWithColour(const rig::RgbImage& image, rig::Rgb colour)
{
    int64_t columns = 0;
    for (int x = 0; x < image.width; ++x) {
        for (int y = 0; y < image.height; ++y) {
            if (pixelIs(image, x, y, colour)) {
                ++columns;
                break;
            }
        }
    }
    return columns;
}

int64_t columnsWithColourOnRow(const rig::RgbImage& image, rig::Rgb colour, int row)
{
    if (row < 0 || row >= image.height) {
        return 0;
    }
    int64_t columns = 0;
    for (int x = 0; x < image.width; ++x) {
        columns += pixelIs(image, x, row, colour) ? 1 : 0;
    }
    return columns;
}

int64_t farthestFromRow(const rig::RgbImage& image, rig::Rgb colour, int row)
{
    int64_t farthest = -1;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (pixelIs(image, x, y, colour)) {
                farthest = std::max<int64_t>(farthest, std::abs(y - row));
                break;
            }
        }
    }
    return farthest;
}

bool hasColour(const rig::RgbImage& image, rig::Rgb colour)
{
    return farthestFromRow(image, colour, 0) >= 0;
}
