// The keys of an instrument: Space freezes the picture and lets it go on,
// r starts the peak hold and the average afresh, m stores the reference
// trace. They act only where the options ask for an instrument; without
// options every key but the ways out stays ignored. Pure; the main thread
// keeps the state.
#pragma once

#include "monitor/monitor_options.h"

inline constexpr char freezeKey = ' ';
inline constexpr char restartKey = 'r';
inline constexpr char referenceKey = 'm';

struct InstrumentState {
    bool frozen = false;         // frames go on, but show the numbers they showed when Space froze them
    bool restart = false;        // the peak hold and the average start afresh with the next frame they take
    bool storeReference = false; // the next frame stores the numbers the last one drew as the reference
};

// What the key taken at a frame's end (its code; 0 for none) does: Space
// freezes or thaws the picture when options.instrument; r (or R) asks for a
// restart when an option given brings it (the peak hold, the average), m (or
// M) to store the reference when one brings it (the reference). Any other
// key does nothing.
void applyInstrumentKey(int code, const MonitorOptions& options, InstrumentState& state);
