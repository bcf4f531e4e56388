// The window services of PlotScreen. PlotScreen is the one desktop window a
// program draws in: an 8-bit indexed frame buffer shown through a 256-entry
// palette, with the key queue and mouse state of controls.h. It is no type
// of its own but process-wide state (screen_state.h, controls_state.h),
// opened once by openScreen and kept until the process ends.
//
// Coordinates are frame-buffer pixels from the top-left corner, y growing
// downwards. Every operation may be called from any thread; each runs whole
// under servicesLock, so calls from different threads never interleave within
// one call. The window itself is created, shown and fed with events by the
// refresh thread, which is the only thread that talks to the platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "plot/state/screen_info.h"

// Keeps the first 127 bytes of the text as the window title (up to a zero
// byte, should the text hold one). When the screen is open the title bar
// changes with the next refresh pass, within about 10 ms; otherwise openScreen
// uses it. Without any title the window is named after the program's file,
// without its extension. The bytes go to the title bar as they are.
void setWindowTitle(std::string_view text);

// Opens the screen: width and height above 0, depth one of 1, 2, 4, 8, 15,
// 16, 24, 32. Whatever the depth, pages, flags and refreshRate, the screen is
// one 8-bit page with the default palette, all colour 0, in an ordinary
// window centred on the desktop at the display's own rate. Returns 0 once the
// window exists and the refresh thread runs; 1 with nothing opened when an
// argument is invalid, no window can be created (no display) or a screen is
// already open. The window closes when the process exits.
int32_t openScreen(int32_t width, int32_t height, int32_t depth, int32_t pages, int32_t flags, int32_t refreshRate);

// Why openScreen opened no window, in a few words for the user: "no
// display", no thread for the refresh, or the window system's reason. Empty
// while no window has failed to open. Any thread.
std::string screenOpenProblem();

// The open screen's geometry (depth 8, 1 byte per pixel, pitch = width), the
// display's refresh rate and the video driver's name; or before openScreen
// the desktop's width, height, depth and refresh rate (zeros where there is
// no desktop) with 0 for bytes per pixel and pitch and an empty driver name.
// Before openScreen the first call starts the refresh thread, idle until the
// screen opens, to ask the windowing system.
ScreenInfo screenInfo();

enum : int32_t { shapeLine = 0, shapeBox = 1, shapeFilledBox = 2 };

// Draws a line (shapeLine), a box outline (shapeBox) or a filled box
// (shapeFilledBox) into the frame buffer. Coordinates are rounded to the
// nearest integer, halves away from zero; everything outside the frame buffer
// is clipped. The low 8 bits of colour are the palette index. style is a
// 16-bit mask taken from bit 15 down, pixel by pixel from (x1, y1); filled
// boxes ignore it, and each edge of a box outline starts it afresh. NaN
// coordinates draw nothing, and so does any other shape. Does nothing when no
// screen is open.
void drawLine(float x1, float y1, float x2, float y2, uint32_t colour, int32_t shape, uint16_t style);

// True once the connection to the display has been lost: the window is gone
// for good, drawing goes nowhere and no more keys or mouse moves come. Any thread, no
// lock.
bool screenLost();

// Draws the 8x8 glyph of each byte of the text, glyph k at column x + 8k, with
// (x, y) the top-left pixel of the first glyph. Only the glyphs' set pixels
// are written. Does nothing when no screen is open.
void drawText(float x, float y, std::string_view text, uint32_t colour);
