#include "tests/e2e/monitor_picture.h"

#include <algorithm>
#include <sstream>

#include "plot/logic/font8x8.h"

namespace e2e {

namespace {

rig::Rgb paletteRgb(uint8_t colour)
{
    switch (colour) {
    case traceColour: return {85, 255, 85};
    case textColour: return {255, 255, 85};
    case gridColour: return {85, 85, 85};
    case gridLabelColour: return {170, 170, 170};
    case peakHoldColour: return {255, 85, 85};
    case referenceColour: return {85, 255, 255};
    default: return {0, 0, 0};
    }
}

std::string describe(const rig::Rgb& rgb)
{
    std::ostringstream text;
    text << "(" << int{rgb[0]} << "," << int{rgb[1]} << "," << int{rgb[2]} << ")";
    return text.str();
}

// Collects pixel differences: a count and the first few, for a message.
class Differences {
public:
    void add(int x, int row, const std::string& what)
    {
        if (count_++ < shown) {
            text_ << " (" << x << "," << row << "): " << what << ";";
        }
    }
    std::string report(const std::string& subject) const
    {
        if (count_ == 0) {
            return {};
        }
        std::ostringstream message;
        message << count_ << " " << subject << " differ, first at window (column,row):" << text_.str();
        return message.str();
    }

private:
    static constexpr int shown = 6;
    int count_ = 0;
    std::ostringstream text_;
};

// The window rows and columns of a text line's glyph cells.
int topRowOf(const TextLine& line)
{
    return windowRow(line.y + glyphSize - 1);
}

bool glyphPixelSet(const TextLine& line, int x, int row)
{
    const int top = topRowOf(line);
    const int column = x - line.x;
    if (row < top || row >= top + glyphSize || column < 0 || column >= glyphSize * static_cast<int>(line.text.size())) {
        return false;
    }
    const auto code = static_cast<unsigned char>(line.text[static_cast<size_t>(column / glyphSize)]);
    return (fontGlyphs[code][row - top] & (0x80 >> (column % glyphSize))) != 0;
}

bool backingCovers(const TextLine& line, int x, int row)
{
    const int top = topRowOf(line) - 1;
    const int bottom = windowRow(line.y - 1);
    return x >= line.x - 1 && x <= line.x + glyphSize * static_cast<int>(line.text.size()) - 1 && row >= top &&
           row <= bottom;
}

} // namespace

void plotPixel(Picture& picture, int64_t x, int64_t y, uint8_t colour)
{
    if (x >= 0 && x < windowWidth && y >= 0 && y < windowHeight) {
        picture.at(static_cast<int>(x), windowRow(y)) = colour;
    }
}

void drawTextLine(Picture& picture, const TextLine& line, uint8_t colour)
{
    const int top = topRowOf(line);
    for (int row = top; row < top + glyphSize; ++row) {
        for (int x = line.x; x < line.x + glyphSize * static_cast<int>(line.text.size()); ++x) {
            if (glyphPixelSet(line, x, row)) {
                picture.at(x, row) = colour;
            }
        }
    }
}

void drawBacking(Picture& picture, const TextLine& line)
{
    for (int64_t y = line.y - 1; y <= line.y + glyphSize; ++y) {
        for (int64_t x = line.x - 1; x <= line.x + glyphSize * static_cast<int64_t>(line.text.size()) - 1; ++x) {
            plotPixel(picture, x, y, backgroundColour);
        }
    }
}

bool onBacking(std::span<const TextLine> lines, int x, int row)
{
    for (const TextLine& line : lines) {
        if (backingCovers(line, x, row)) {
            return true;
        }
    }
    return false;
}

bool onGlyph(std::span<const TextLine> lines, int x, int row)
{
    for (const TextLine& line : lines) {
        if (glyphPixelSet(line, x, row)) {
            return true;
        }
    }
    return false;
}

bool hasColour(const rig::RgbImage& image, int x, int row, uint8_t colour)
{
    return image.pixel(x, row) == paletteRgb(colour);
}

std::vector<int> traceRowsOf(const rig::RgbImage& image, int x, uint8_t colour)
{
    std::vector<int> rows;
    for (int row = 0; row < image.height; ++row) {
        if (hasColour(image, x, row, colour)) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::string checkLabelsKeepOutOfTheTop(const rig::RgbImage& image)
{
    for (int row = 0; row < labelKeepOutRows; ++row) {
        for (int x = 0; x < image.width; ++x) {
            if (hasColour(image, x, row, gridLabelColour)) {
                return "a label pixel at column " + std::to_string(x) + " of window row " + std::to_string(row);
            }
        }
    }
    return "";
}

std::string readText(const rig::RgbImage& image, int x, int row, int length, uint8_t colour)
{
    std::string text;
    for (int cell = 0; cell < length; ++cell) {
        uint8_t bits[glyphSize] = {};
        for (int r = 0; r < glyphSize; ++r) {
            for (int c = 0; c < glyphSize; ++c) {
                const int px = x + cell * glyphSize + c;
                if (px < image.width && row + r < image.height && hasColour(image, px, row + r, colour)) {
                    bits[r] = static_cast<uint8_t>(bits[r] | (0x80 >> c));
                }
            }
        }
        char read = '?';
        for (int code = ' '; code < 127 && read == '?'; ++code) {
            if (std::equal(std::begin(bits), std::end(bits), std::begin(fontGlyphs[code]))) {
                read = static_cast<char>(code);
            }
        }
        text += read;
    }
    return text.erase(text.find_last_not_of(' ') + 1);
}

std::string checkPalette(const rig::RgbImage& image)
{
    if (image.width != windowWidth || image.height != windowHeight) {
        return "a window of " + std::to_string(image.width) + " x " + std::to_string(image.height) + " pixels";
    }
    Differences odd;
    for (int row = 0; row < windowHeight; ++row) {
        for (int x = 0; x < windowWidth; ++x) {
            if (!hasColour(image, x, row, backgroundColour) && !hasColour(image, x, row, traceColour) &&
                !hasColour(image, x, row, textColour)) {
                odd.add(x, row, describe(image.pixel(x, row)));
            }
        }
    }
    return odd.report("pixels of no palette colour in use");
}

std::string comparePicture(const rig::RgbImage& image, const Picture& expected)
{
    if (image.width != windowWidth || image.height != windowHeight) {
        return checkPalette(image);
    }
    Differences differences;
    for (int row = 0; row < windowHeight; ++row) {
        for (int x = 0; x < windowWidth; ++x) {
            const uint8_t colour = expected.at(x, row);
            if (!hasColour(image, x, row, colour)) {
                differences.add(x, row,
                                "saw " + describe(image.pixel(x, row)) + ", expected colour " + std::to_string(colour));
            }
        }
    }
    return differences.report("pixels");
}

std::string compareText(const rig::RgbImage& image, std::span<const TextLine> lines, bool backed)
{
    if (image.width != windowWidth || image.height != windowHeight) {
        return checkPalette(image);
    }
    Differences differences;
    for (int row = 0; row < windowHeight; ++row) {
        for (int x = 0; x < windowWidth; ++x) {
            const bool glyph = onGlyph(lines, x, row);
            const bool text = hasColour(image, x, row, textColour);
            if (glyph != text) {
                differences.add(x, row, glyph ? "glyph pixel not yellow" : "yellow outside the glyphs");
            } else if (backed && !glyph && onBacking(lines, x, row) && !hasColour(image, x, row, backgroundColour)) {
                differences.add(x, row, "backing pixel " + describe(image.pixel(x, row)));
            }
        }
    }
    return differences.report("text pixels");
}

} // namespace e2e
