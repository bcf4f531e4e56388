#include "plot/plot_helpers.h"

#include <string>

#include "plot/controls.h"
#include "plot/logic/font8x8.h"
#include "plot/logic/raster.h"
#include "plot/screen.h"

namespace {

// Glyph 219, the solid 8x8 block.
constexpr char backingCharacter = static_cast<char>(219);

// The colour as the window services take it: its low 32 bits.
uint32_t serviceColour(int64_t colour)
{
    return static_cast<uint32_t>(colour);
}

// A line or box between two plot points, each converted to the screen row
// H - y - 1 of the screen's height now.
void drawBetween(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t colour, int32_t shape, uint16_t style)
{
    const int64_t height = screenHeight();
    drawLine(static_cast<float>(x1), static_cast<float>(height - y1 - 1), static_cast<float>(x2),
             static_cast<float>(height - y2 - 1), serviceColour(colour), shape, style);
}

// The text drawn at each offset of dxs (outer) and dys (inner) around the
// plotText position, whose top row is screen row H - y - glyphSize.
template <size_t xCount, size_t yCount>
void drawTextAround(int64_t x, int64_t y, std::string_view text, int64_t colour, const int64_t (&dxs)[xCount],
                    const int64_t (&dys)[yCount])
{
    const int64_t top = screenHeight() - y - glyphSize;
    for (const int64_t dx : dxs) {
        for (const int64_t dy : dys) {
            drawText(static_cast<float>(x + dx), static_cast<float>(top + dy), text, serviceColour(colour));
        }
    }
}

// One getMouse call: the pointer's position and held buttons, or false when
// the mouse cannot be read.
bool readMouse(int64_t& x, int64_t& y, int64_t& buttons)
{
    int64_t wheel = 0;
    int64_t clip = 0;
    return getMouse(x, y, wheel, buttons, clip) == 0;
}

bool buttonHeld(int64_t bit)
{
    int64_t x = 0;
    int64_t y = 0;
    int64_t buttons = 0;
    return readMouse(x, y, buttons) && (buttons & bit) != 0;
}

} // namespace

void plotPoint(int64_t x, int64_t y, int64_t colour)
{
    drawBetween(x, y, x, y, colour, shapeLine, solidStyle);
}

void plotLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t colour)
{
    drawBetween(x1, y1, x2, y2, colour, shapeLine, solidStyle);
}

void plotLineStyled(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t colour, uint16_t style)
{
    drawBetween(x1, y1, x2, y2, colour, shapeLine, style);
}

void plotBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t colour)
{
    drawBetween(x1, y1, x2, y2, colour, shapeBox, solidStyle);
}

void plotFilledBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t colour)
{
    drawBetween(x1, y1, x2, y2, colour, shapeFilledBox, solidStyle);
}

void plotText(int64_t x, int64_t y, std::string_view text, int64_t colour)
{
    const int64_t noOffset[] = {0};
    drawTextAround(x, y, text, colour, noOffset, noOffset);
}

void plotTextBold(int64_t x, int64_t y, std::string_view text, int64_t colour)
{
    const int64_t offsets[] = {-1, 0, 1};
    drawTextAround(x, y, text, colour, offsets, offsets);
}

void plotTextBacking(int64_t x, int64_t y, int64_t count, int64_t colour)
{
    std::string blocks;
    for (int64_t i = 1; i <= count; ++i) {
        blocks += backingCharacter;
    }
    // Left and up and down by one, but not right: the backing ends where the
    // text ends.
    const int64_t dxs[] = {-1, 0};
    const int64_t dys[] = {-1, 0, 1};
    drawTextAround(x, y, blocks, colour, dxs, dys);
}

int64_t screenWidth()
{
    return screenInfo().width;
}

int64_t screenHeight()
{
    return screenInfo().height;
}

int64_t mouseX()
{
    int64_t x = 0;
    int64_t y = 0;
    int64_t buttons = 0;
    return readMouse(x, y, buttons) ? x : -1;
}

int64_t mouseY()
{
    int64_t x = 0;
    int64_t y = 0;
    int64_t buttons = 0;
    if (!readMouse(x, y, buttons)) {
        return -1;
    }
    return screenHeight() - y - 1;
}

bool mouseLeft()
{
    return buttonHeld(leftButtonBit);
}

bool mouseRight()
{
    return buttonHeld(rightButtonBit);
}

bool mouseMiddle()
{
    return buttonHeld(middleButtonBit);
}

void mouseShow()
{
    setMouse(keepMouse, keepMouse, 1, -1);
}

void mouseHide()
{
    setMouse(keepMouse, keepMouse, 0, -1);
}

void mouseMoveTo(int32_t x, int32_t y)
{
    // Wraps like the 32-bit arithmetic it is, rather than overflowing.
    const auto height = static_cast<uint32_t>(screenHeight());
    setMouse(x, static_cast<int32_t>(height - static_cast<uint32_t>(y) - 1U), -1, -1);
}
