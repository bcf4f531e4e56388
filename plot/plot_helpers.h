// Bottom-left plot helpers: the programs' own thin drawing layer. Plot x counts
// columns from the left edge, plot y rows from the bottom edge (y up); plot
// row y is screen row H - y - 1, with H asked of the window services anew on
// every call. The layer keeps no state and may be called from any thread; the
// helpers used from two threads at once (plotPoint, plotFilledBox, plotText)
// each make exactly one drawing call.
#pragma once

#include <cstdint>
#include <string_view>

// The text helpers draw glyphs of glyphSize x glyphSize pixels.
#include "plot/logic/font8x8.h"

void plotPoint(int64_t x, int64_t y, int64_t colour);
void plotLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t colour);
void plotLineStyled(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t colour, uint16_t style);
void plotBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t colour);
void plotFilledBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t colour);
// The text's bottom-left pixel lands on plot point (x, y).
void plotText(int64_t x, int64_t y, std::string_view text, int64_t colour);
// The text nine times, offset by -1, 0, +1 in x (outer) and y (inner).
void plotTextBold(int64_t x, int64_t y, std::string_view text, int64_t colour);
// count solid blocks (glyph 219) drawn six times around the plotText position
// (x offsets -1 and 0, y offsets -1, 0, +1): a backing one pixel wider than a
// text of count characters on its left, bottom and top.
void plotTextBacking(int64_t x, int64_t y, int64_t count, int64_t colour);

int64_t screenWidth();
int64_t screenHeight();

// -1 when the mouse cannot be read (window inactive, pointer outside).
int64_t mouseX();
int64_t mouseY();
// 1 while the button is held, 0 otherwise and whenever the mouse cannot be read.
bool mouseLeft();
bool mouseRight();
bool mouseMiddle();

void mouseShow();
void mouseHide();
// Moves the pointer to plot point (x, y), clamped into the screen.
void mouseMoveTo(int32_t x, int32_t y);
