// The end of every frame, the same in both monitors. Main thread.
#pragma once

#include <span>

#include "monitor/arguments.h"
#include "monitor/instrument_keys.h"

// Tells the user what changed in the audio input; once the capture has
// settled (captureSettled), counts the frame and, with --print, writes the
// numbers it showed (number_output.h); then takes at most one key. Returns
// true for Escape (27) or Ctrl-C (3), once a termination request has arrived,
// once as many frames as --frames asks for have been counted, or, with a line
// to the user, once the display is lost; the exit sequence has then begun
// (beginExitSequence). Any other key acts on the instrument as
// instrument_keys.h says (and without options is dropped), and the frame ends
// with a 100 ms pause, then returns false. Frames before the capture settles
// show the silence it starts with: a script that asks for one frame gets one
// of the input.
bool frameEndsMonitor(const MonitorOptions& options, InstrumentState& instrument, std::span<const float> shown);
