// Opening, watching and stopping the audio input.
//
// A supervisor thread owns PortAudio from startCapture to the stop at exit: it
// initialises it, opens the input (the default one, or the one chosen with
// --input), starts the stream and about five times a second checks that
// samples come (input_watch_internal.h). When they stop (a sound server that
// ends, a microphone unplugged) it closes the stream, lets the snapshot show
// silence and opens the input again about once a second until one delivers;
// the same covers a program started before its sound server. The callback is
// never part of this: it keeps its rules.
//
// The main thread never waits on PortAudio but at exit, and then for a
// bounded time: a sound server that accepts connections but does not answer
// keeps the supervisor inside PortAudio, and that shows in currentInput
// instead. Nothing here is printed; the monitor tells the user from
// currentInput.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "capture/input_watch.h"

// The input the user chose (--input) by its full name; empty for the default
// input. Set by the main thread before startCapture.
extern std::string chosenInput;

struct InputReport {
    InputState state = InputState::opening;
    // Why the input is absent, lost or unavailable: PortAudio's text for the
    // failure to open it, how it stopped, or that the sound server does not
    // answer. A static string; empty otherwise.
    const char* problem = "";
};

// Any thread: the input as it stands now.
InputReport currentInput();

// Main thread, just after a copy of the snapshot that returned fill
// (copySnapshot): whether the copy holds what the input gives, a whole
// snapshot of the running stream's samples, or silence for want of any
// input (absent, lost or unavailable). A stream that has just started, at
// the start or when the input comes back, fills it bit by bit: until then
// the copies hold some of the silence before it.
bool snapshotHoldsInput(int64_t fill);

// Main thread, once. Lowers the snapshot's hold and starts the supervisor,
// which opens the input at once; returns without waiting for it. The host
// back-ends' messages are kept off the terminal (library_messages.h). When no
// thread can be had, the input is unavailable.
void startCapture();

// Main thread, at exit. Stops the supervisor (waiting for what it is doing in
// PortAudio), then stops and closes the stream and terminates PortAudio,
// leaving the snapshot as it is; waits for that at most limit: false when it
// has not finished by then (PortAudio waits for a sound server that stopped
// answering) or could not be run. It then goes on in the background, and the
// process must end without the normal exit's clean-up (see finishExit in
// monitor_exit.h).
bool stopCaptureWithin(std::chrono::milliseconds limit);
