// The program's own lines on the terminal: "<program>: <text>" and a line
// feed, written to standard error in one write, so that lines from different
// threads never mix. Any thread.
#pragma once

#include <string_view>

// The name each line begins with; set once at start-up, before any line.
extern std::string_view noticeProgramName;

// Main thread, first thing. On Windows the programs have no console of their
// own; started from a command prompt or PowerShell, a program attaches to
// that console, so that its lines, its --help and the console's Ctrl-C and
// Ctrl-Break reach it. Elsewhere it does nothing.
void reachParentConsole();

void tellUser(std::string_view text);
