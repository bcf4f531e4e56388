// Whether a running input stream delivers: the supervisor's judgement,
// apart from the clock and PortAudio so that it can be followed step by
// step. Pure; the capture supervisor's thread.
#pragma once

#include <cstdint>

// A running stream is lost when no sample has come for this long. A sound
// server that goes away ends the stream itself within about half a second;
// this is for an input that stays silent without ending it. It is longer
// than the gaps of a healthy input: some sources (the sound server's test
// tone, say) deliver whole seconds at once, two seconds apart.
inline constexpr int64_t silenceLimitMs = 3000;

struct InputWatch {
    int64_t callbacks = 0;  // the callback count at the last look that saw it grow
    int64_t sinceMs = 0;    // when it last grew, or when the stream started
    bool delivered = false; // samples came since the stream started
};

enum class InputVerdict { waiting, delivering, lost };

// A watch for a stream started at nowMs, with the callback count then.
InputWatch startWatch(int64_t callbacks, int64_t nowMs);

// One look at the stream at nowMs: lost when the stream is no longer active
// or has been silent for silenceLimitMs; otherwise delivering once samples
// have come since it started, waiting before.
InputVerdict watchInput(InputWatch& watch, int64_t callbacks, bool streamActive, int64_t nowMs);
