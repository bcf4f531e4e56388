// Window services of PlotScreen: the one desktop window both programs draw in,
// an 8-bit indexed frame buffer shown through a 256-entry palette.
//
// Coordinates are frame-buffer pixels from the top-left corner, y growing
// downwards. Every operation may be called from any thread; each runs whole
// under servicesLock, so calls from different threads never interleave within
// one call. The window itself is created, shown and fed with events by the
// refresh thread, which is the only thread that talks to the platform.
#pragma once

#include <cstdint>
#include <string_view>

// Keeps the first 127 bytes of the text as the window title. Changes the title
// bar at once when the screen is open, otherwise it is used by openScreen.
void setWindowTitle(std::string_view text);

// Opens the screen: width and height above 0, depth one of 1, 2, 4, 8, 15,
// 16, 24, 32 (only 8 is drawn), pages <= 0 meaning 1, flags 0 for an ordinary
// window, refreshRate 0 for the display's own rate. Returns 0 once the window
// exists and the refresh thread runs; 1 with nothing opened when an argument
// is invalid, no window can be created (no display) or a screen is already
// open.
int32_t openScreen(int32_t width, int32_t height, int32_t depth, int32_t pages, int32_t flags,
                   int32_t refreshRate);

struct ScreenInfo {
    int64_t width = 0;
    int64_t height = 0;
    int64_t depth = 0;
    int64_t bytesPerPixel = 0;
    int64_t pitch = 0;
    int64_t refreshRate = 0;
    char driver[32] = {};  // the display driver's name, empty before a screen is open
};

// The open screen's geometry, or before openScreen the desktop's width,
// height, depth and refresh rate (zeros where there is no desktop) with 0 for
// bytes per pixel and pitch and an empty driver name.
ScreenInfo screenInfo();

enum : int32_t { shapeLine = 0, shapeBox = 1, shapeFilledBox = 2 };

// Draws a line (shapeLine), a box outline (shapeBox) or a filled box
// (shapeFilledBox) into the frame buffer. Coordinates are rounded to the
// nearest integer, halves away from zero; everything outside the frame buffer
// is clipped. The low 8 bits of colour are the palette index. style is a
// 16-bit mask taken from bit 15 down, pixel by pixel from (x1, y1); filled
// boxes ignore it. Does nothing when no screen is open.
void drawLine(float x1, float y1, float x2, float y2, uint32_t colour, int32_t shape, uint16_t style);

// Draws the 8x8 glyph of each byte of the text, glyph k at column x + 8k, with
// (x, y) the top-left pixel of the first glyph. Only the glyphs' set pixels
// are written. Does nothing when no screen is open.
void drawText(float x, float y, std::string_view text, uint32_t colour);
