// The end of every frame, the same in both monitors. Main thread.
#pragma once

#include "monitor/arguments.h"
#include "monitor/instrument_keys.h"

// Tells the user what changed in the audio input, then takes at most one
// key. Returns true for Escape (27) or Ctrl-C (3), once a termination request
// has arrived, or, with a line to the user, once the display is lost; the
// exit sequence has then begun (beginExitSequence). Any other key acts on
// the instrument as instrument_keys.h says (and without options is dropped),
// and the frame ends with a 100 ms pause, then returns false.
bool frameEndsMonitor(const MonitorOptions& options, InstrumentState& instrument);
