// The window both monitors show and what they draw in it with: its size, its
// three colours and its title. One home for these, so that the two programs
// cannot drift apart.
#pragma once

#include <cstdint>
#include <string_view>

#include "monitor/monitor_options.h"
#include "plot/plot_helpers.h"

// The window's size in pixels.
inline constexpr int64_t monitorWidth = 1025;
inline constexpr int64_t monitorHeight = 401;

// Indices of the default palette: black background, light green traces,
// yellow text.
inline constexpr int64_t backgroundColour = 0;
inline constexpr int64_t traceColour = 10;
inline constexpr int64_t textColour = 14;
// The reference trace (--reference), under the live one: light cyan.
inline constexpr int64_t referenceColour = 11;

// The two help lines at the bottom left of both windows: plot coordinates of
// each line's first glyph, and the second line, the same in both.
inline constexpr int64_t helpLineX = 4;
inline constexpr int64_t buttonHelpY = 16;
inline constexpr int64_t exitHelpY = 4;
inline constexpr std::string_view exitHelp = "hit ctrl-C or ESC key to exit";

// The width in pixels of a line of text.
int64_t textWidth(std::string_view text);

// The window's text rows, by the screen row of their top: the top line (the
// readout, the frozen mark) and, two blank rows under it, the second (the
// measurement line).
inline constexpr int64_t topRowTop = 0;
inline constexpr int64_t measureRowTop = glyphSize + 2;

// Any thread: text from column x in the text row whose top is screen row
// top, in the colour (the text colour unless given) on a black backing as
// wide as the text.
void drawTextRow(int64_t top, int64_t x, std::string_view text, int64_t colour = textColour);

// The window's title: one blank, then the project's name in brackets.
inline constexpr std::string_view monitorTitle = " [earshot]";

// Main thread, once at start-up, after answerCommandLine: keeps the
// libraries' messages off the terminal (library_messages.h), catches
// termination requests (termination.h), readies standard output for numbers
// (number_output.h), then, unless the options ask for no window, sets the
// title and opens the window. Without a window (no display, no thread for
// it) the monitor says so once and runs on, drawing nothing, until a
// termination request ends it; with --no-window it says nothing.
void openMonitorWindow(const MonitorOptions& options);

// Any thread: fills the window with the background colour, one filled box
// from plot point (0, 0) to (monitorWidth, monitorHeight), in one drawing
// call.
void clearMonitorWindow();
