// The end of every frame, the same in both monitors. Main thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "monitor/instrument_keys.h"
#include "monitor/monitor_options.h"

// What a monitor's frame loop carries from one frame to the next besides its
// picture: the state of the instrument keys, whether the frame it shows holds
// the input (snapshotHoldsInput, decided when the frame was copied), the
// frames counted for --frames, the frame's measured values for
// --print=measure, and the line --print writes.
struct FrameLoop {
    InstrumentState instrument;
    bool holdsInput = false;
    int64_t framesCounted = 0;
    std::string measured;
    std::string printLine;
};

// Tells the user what changed in the audio input; when the frame holds the
// input, counts it and, with --print, hands the numbers it showed to
// standard output (number_output.h); then takes at most one key. Returns
// true for Escape or Ctrl-C, once a termination request has arrived
// (standard output's end among them), once as many frames as --frames asks
// for have been counted and printed, or, with a line to the user, once the
// display is lost; the exit sequence has then begun, as a termination
// request (requestTermination). Any other key acts on the instrument as
// instrument_keys.h says (and without options is dropped), and the frame ends
// with a 100 ms pause, then returns false. While a reader of standard output
// does not take the frame's line, the frame waits, taking keys and heeding
// requests all the while: the line is abandoned when the monitor ends
// meanwhile. Frames that do not hold the input show the silence the capture
// starts with, or a stream that has just started: a script that asks for one
// frame gets one of the input.
bool frameEndsMonitor(const MonitorOptions& options, FrameLoop& loop, std::span<const float> shown);
