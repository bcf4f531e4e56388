// What both programs draw for the options that make them instruments: the
// lines and labels of a grid (--grid), the readout line (--readout) and the
// sign of a frozen picture. The
// grid goes in dark grey under the trace, its labels in light grey, placed so
// that they never cover the help lines at the bottom left and never sit in
// the window's top text row, which is the readout's. Any thread; each
// function draws through the plot helpers.
#pragma once

#include <cstdint>
#include <string_view>

// Palette indices of the default palette: dark grey (85, 85, 85) and light
// grey (170, 170, 170).
inline constexpr int64_t gridColour = 8;
inline constexpr int64_t gridLabelColour = 7;

// A vertical line over the whole height at column x; a label goes just
// below the top text row, left of the line (right of it where the left has
// no room).
void drawGridColumn(int64_t x, std::string_view label);

// A horizontal line over the whole width at plot row y; a label goes at the
// right edge just above the line, or just below it where above would reach
// into the top text row.
void drawGridRow(int64_t y, std::string_view label);

// The readout: text in the top text row from the left edge, in the text
// colour on a black backing as wide as the text.
void drawReadout(std::string_view text);

// The sign of a frozen picture: "frozen" at the right end of the top text
// row, in the text colour on a black backing.
void drawFrozenMark();
