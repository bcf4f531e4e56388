// Opening, starting, watching and stopping the default audio input.
//
// The main thread opens and starts the stream and, at exit, stops it. In
// between, a supervisor thread owns it: about five times a second it checks
// that samples come (input_watch.h). When they stop (a sound server that
// ends, a microphone unplugged) it closes the stream, lets the snapshot show
// silence and opens the default input again about once a second until one
// delivers; the same covers a program started before its sound server. The
// callback is never part of this: it keeps its rules. Nothing here is
// printed; the monitor tells the user from inputState and inputProblem.
#pragma once

#include <atomic>
#include <chrono>
#include <string>

#include <portaudio.h>

// The open input stream; null while there is none. Main thread before
// startCaptureStream and after stopCapture, the supervisor in between.
extern PaStream* captureStream;

enum class InputState {
    opening,    // a stream runs, no sample has come yet
    delivering, // samples come
    absent,     // no input has delivered: none could be opened, or it stayed silent
    lost,       // the input delivered, then stopped; none delivers since
};

// The input as the supervisor last saw it; opening at start.
extern std::atomic<InputState> inputState;

// Why the input is absent or lost: PortAudio's text for the failure to open
// it, or how it stopped. A static string, set before inputState changes.
extern std::atomic<const char*> inputProblem;

// The input the user chose (--input) by its full name; empty for the default
// input. Set by the main thread before openCaptureStream.
extern std::string chosenInput;

// Main thread. Initialises PortAudio and opens the default input, or the
// chosen one, as one channel of signed 16-bit samples at 48000 per second,
// one frame per buffer, with captureCallback. The host back-ends' messages are kept off the
// terminal (library_messages.h). When no input can be opened, inputState is
// absent.
void openCaptureStream();

// Main thread. Lowers snapshotHold, starts captureStream and the supervisor.
void startCaptureStream();

// openCaptureStream, then startCaptureStream.
void startCapture();

// Main thread. Stops the supervisor (waiting for an attempt under way to
// open the input), then stops and closes captureStream and terminates
// PortAudio. The capture state is left as it is.
void stopCapture();

// Main thread, at exit. stopCapture, waited for at most limit: false when it
// has not finished by then (PortAudio waits for a sound server that stopped
// answering). It then goes on in the background, and the process must end
// without the normal exit's clean-up (see finishExit in monitor_exit.h).
bool stopCaptureWithin(std::chrono::milliseconds limit);
