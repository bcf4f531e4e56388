// What the monitors' window must show, and how a captured window compares with
// it. The window's client pixels are the frame buffer: 1025 x 401, palette 0
// (black) for the background, 10 (light green) for traces, 14 (yellow) for
// text. Plot row y (bottom-left origin, y up) is window row 400 - y. Pure
// functions, callable from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rig/rgb_image.h"

namespace e2e {

constexpr int windowWidth = 1025;
constexpr int windowHeight = 401;

constexpr uint8_t backgroundColour = 0;
constexpr uint8_t traceColour = 10;
constexpr uint8_t textColour = 14;
// The grid of --grid and its labels.
constexpr uint8_t gridColour = 8;
constexpr uint8_t gridLabelColour = 7;
// specmon's peak hold (--peak-hold), under the trace, and the clip mark of
// the measurement line (--measure), both light red.
constexpr uint8_t peakHoldColour = 12;
constexpr uint8_t clipColour = 12;
// The reference trace (--reference): light cyan.
constexpr uint8_t referenceColour = 11;
// The top text row, where the readout of --readout stands, and the rows
// from the top that grid labels keep clear: it and one blank row under it.
constexpr int readoutRow = 0;
constexpr int labelKeepOutRows = 9;

// The window row of plot row y, and back.
constexpr int windowRow(int64_t plotY)
{
    return windowHeight - 1 - static_cast<int>(plotY);
}
constexpr int64_t plotRowOf(int row)
{
    return windowHeight - 1 - row;
}

// Looks at a captured window: an empty text when it shows what the test waits
// for, otherwise a short description of what it shows instead.
using FrameCheck = std::function<std::string(const rig::RgbImage&)>;

// A text line as the programs place it: its bottom-left pixel at plot (x, y).
struct TextLine {
    int x = 0;
    int y = 0;
    std::string_view text;
};

// A whole expected window in palette indices, rows top first.
struct Picture {
    std::vector<uint8_t> index = std::vector<uint8_t>(windowWidth * windowHeight, backgroundColour);

    uint8_t& at(int x, int row) { return index[static_cast<size_t>(row) * windowWidth + static_cast<size_t>(x)]; }
    uint8_t at(int x, int row) const { return index[static_cast<size_t>(row) * windowWidth + static_cast<size_t>(x)]; }
};

// Sets the pixel at plot (x, y) when it is inside the window.
void plotPixel(Picture& picture, int64_t x, int64_t y, uint8_t colour);

// The set pixels of each glyph of the 8x8 font, nothing else.
void drawTextLine(Picture& picture, const TextLine& line, uint8_t colour);

// The block of colour 0 under a text line: plot columns x - 1 to
// x + 8 * length - 1, rows y - 1 to y + 8.
void drawBacking(Picture& picture, const TextLine& line);

// Whether a window pixel lies on the block under one of the lines.
bool onBacking(std::span<const TextLine> lines, int x, int row);

// Whether a window pixel is a set glyph pixel of one of the lines.
bool onGlyph(std::span<const TextLine> lines, int x, int row);

bool hasColour(const rig::RgbImage& image, int x, int row, uint8_t colour);

// The window rows of the pixels of one column in a line's colour (the
// trace's unless given), top first.
std::vector<int> traceRowsOf(const rig::RgbImage& image, int x, uint8_t colour = traceColour);

// Empty when the capture is the picture pixel for pixel; otherwise how many
// pixels differ and the first few of them.
std::string comparePicture(const rig::RgbImage& image, const Picture& expected);

// Empty when the glyph pixels of the lines are text-coloured, the rest of
// their blocks (when backed) is black, and no other pixel of the window has
// the text colour; otherwise the first differences.
std::string compareText(const rig::RgbImage& image, std::span<const TextLine> lines, bool backed);

// The text written in one colour from window column x in the 8 pixel high
// text row whose top is at window row `row`, read glyph by glyph against the
// font: up to length characters, a blank for a cell with no pixel of that
// colour, '?' for a cell that is no glyph; trailing blanks dropped.
std::string readText(const rig::RgbImage& image, int x, int row, int length, uint8_t colour);

// Empty when no pixel of the grid labels' colour lies in the rows they keep
// clear at the top; otherwise the first such pixel.
std::string checkLabelsKeepOutOfTheTop(const rig::RgbImage& image);

// Empty when the capture is 1025 x 401 and holds only the three colours.
std::string checkPalette(const rig::RgbImage& image);

} // namespace e2e
