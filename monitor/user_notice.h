// The program's own lines on the terminal: "<program>: <text>" and a line
// feed, written to standard error in one write, so that lines from different
// threads never mix. Any thread.
#pragma once

#include <string_view>

// The name each line begins with; set once at start-up, before any line.
extern std::string_view noticeProgramName;

void tellUser(std::string_view text);
