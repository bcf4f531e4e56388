// How the audio input stands, as currentInput (capture_stream.h) reports it,
// and how long anything waits for the audio library. Constants and types
// only; any thread.
#pragma once

#include <chrono>

// How long anything waits for the audio library before it goes on without
// it: the start of the audio, the listing of the inputs and the stop at exit.
// A sound server that accepts connections but does not answer keeps the
// library waiting for as long as it stays so.
inline constexpr std::chrono::milliseconds audioAnswerLimit{2000};

enum class InputState {
    opening,     // the first input is being opened, or a stream runs and no sample has come yet
    delivering,  // samples come
    absent,      // no input has delivered: none could be opened, or it stayed silent
    lost,        // the input delivered, then stopped; none delivers since
    unavailable, // no input, and none is looked for any more: the audio library failed for good
};
