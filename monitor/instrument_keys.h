// The keys of an instrument: Space freezes the picture and lets it go on,
// r starts the peak hold and the average afresh. They act only where the
// options ask for an instrument; without options every key but the ways
// out stays ignored. Pure; the main thread keeps the state.
#pragma once

#include "monitor/arguments.h"

inline constexpr int freezeKey = ' ';
inline constexpr int restartKey = 'r';

struct InstrumentState {
    bool frozen = false;  // frames go on, but show the numbers they showed when Space froze them
    bool restart = false; // the peak hold and the average start afresh with the next frame they take
};

// What the key taken at a frame's end (its code; 0 for none) does: Space
// freezes or thaws the picture when options.instrument(); r (or R) asks for a
// restart when the peak hold or the average is on. Any other key does
// nothing.
void applyInstrumentKey(int code, const MonitorOptions& options, InstrumentState& state);
