// Inside the capture: starting PortAudio, which can fail in a way its result
// does not tell: an abort inside its initialisation (abort_guard.h). After
// one, PortAudio is left half initialised with whatever locks it held, so this
// process never calls it again. Whichever thread owns PortAudio at the time
// (the thread readInputs runs its work on, later the capture supervisor). For
// capture/ itself.
#pragma once

#include <portaudio.h>

enum class LibraryStart {
    started, // initialised: one Pa_Terminate is due
    failed,  // Pa_Initialize returned an error
    broken,  // it aborted, now or in an earlier call; PortAudio is not to be touched again
};

// What an abort inside PortAudio's start is told to the user as.
inline constexpr const char* brokenLibraryProblem = "the audio library failed to start";

// Keeps the host back-ends' messages off the terminal, then Pa_Initialize,
// surviving an abort in it. On failed, error holds PortAudio's error.
LibraryStart startAudioLibrary(PaError& error);
