// What both monitors do the same way around their own drawing: open their
// window, and end each frame by taking one key and pausing.
#pragma once

#include <string_view>

// Title of both monitors' window: one blank, then the site name in brackets.
inline constexpr std::string_view monitorTitle = " [earshot]";

// Main thread, once at start-up: arranges for SIGINT and SIGTERM (a terminal
// Ctrl-C, a kill), or on Windows the console's Ctrl-C, Ctrl-Break and close,
// to end the monitor at its next frame end, through its normal exit
// sequence; then sets the title and opens the 1025 x 401 window. The
// result of opening is not examined: without a display the monitor runs on,
// drawing nothing, until a signal ends it.
void openMonitorWindow();

// Main thread, at the end of each frame: takes at most one key. Returns true
// for Escape (27), Ctrl-C (3) or once one of those has arrived; any other
// key is dropped and the frame ends with a 100 ms pause, then returns false.
bool frameEndsMonitor();
