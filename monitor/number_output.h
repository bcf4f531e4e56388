// Numbers out while a monitor runs (--print): a line on standard output
// after each frame (frame_end.h). Main thread.
#pragma once

#include <cstdint>

#include "monitor/arguments.h"

// Main thread, at start-up: standard output made ready for numbers when the
// options send any there (on Windows, in binary mode, so that lines end as
// written).
void prepareNumberOutput(const MonitorOptions& options);

// With --print, writes the frame's values as one line (formatLine) on
// standard output and flushes it. Once the reader has gone away (or the
// output fails otherwise) it writes no more and asks the monitor to end as a
// kill would (requestTermination), saying nothing.
void printFrameNumbers(const MonitorOptions& options, const float* values, int64_t count);
