// Inside the capture: whether the audio input delivers, the supervisor's
// judgement of a running stream, and how a call into the audio library that
// does not return shows to the user. Apart from the clock and PortAudio so
// that it can be followed step by step. Pure; any thread. For capture/ itself
// and for the tests of it.
#pragma once

#include <cstdint>

#include "capture/input_watch.h"

// A running stream is lost when no sample has come for this long. A sound
// server that goes away ends the stream itself within about half a second;
// this is for an input that stays silent without ending it. It is longer
// than the gaps of a healthy input: some sources (the sound server's test
// tone, say) deliver whole seconds at once, two seconds apart.
inline constexpr int64_t silenceLimitMs = 3000;

// What the user is told when a call into the audio library has gone unanswered
// for audioAnswerLimit.
inline constexpr const char* noAnswerProblem = "the sound server does not answer";

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

// Whether a call into the audio library that began at callSinceMs (0: none
// is under way) has gone unanswered at nowMs: it has not returned after
// audioAnswerLimit, which means a sound server that does not answer.
bool callUnanswered(int64_t callSinceMs, int64_t nowMs);

// The state to show at nowMs, when the supervisor last recorded `recorded`
// and has been inside one call into the audio library since callSinceMs.
// While that call goes unanswered the input is absent, or lost once one has
// delivered, until it returns and the supervisor records anew.
InputState heardState(InputState recorded, int64_t callSinceMs, int64_t nowMs);
