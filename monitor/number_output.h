// Numbers on standard output: a line after each frame (--print) and the dump
// at the end (--out -). The output writer (guard/output_writer.h) writes
// them, so that a reader that stops reading holds the frames up, losing no
// line and cutting none, but never the window, the signals or the end.
// Main thread.
#pragma once

#include <chrono>
#include <span>
#include <string>
#include <string_view>

#include "monitor/monitor_options.h"

// How long the end waits for a reader that does not read before it gives up
// on the numbers still waiting.
inline constexpr std::chrono::milliseconds readerWaitLimit{2000};

// At start-up, when the options send numbers to standard output: on Windows
// binary mode, so that lines end as written; then the output writer. When no
// thread can be had for it the user hears so, and a reader that stops
// reading then holds the program up.
void prepareNumberOutput(const MonitorOptions& options);

// With --print: hands the frame's values over as one line (formatLine), or
// with --print=measure the measured values, formatted in line, the loop's own
// buffer, and returns at once.
void printFrameNumbers(const MonitorOptions& options, std::span<const float> values, std::string_view measured,
                       std::string& line);

// Hands text over to go out after what went before.
void sendNumbers(std::string& text);

// Waits up to limit for the numbers handed over to go out: false while the
// reader still holds them up. An output that has ended (no more numbers go
// out) ends the monitor as a kill would (requestTermination): quietly when
// the reader went away (| head -1), with one line when a write failed.
bool numbersDelivered(std::chrono::milliseconds limit);

// Whether the output has ended: its reader went away, or a write failed.
bool numbersEnded();

// Whether numbers were lost to a write that failed (not to a reader that
// went away, which chose to stop reading): the exit status says so.
bool numbersLost();
