// Inside the capture: the supervisor's stream, and its stop without a bound.
// For capture/ itself and for the tests of it.
#pragma once

#include <portaudio.h>

#include "capture/capture_stream.h"

// The open input stream; null while there is none. The supervisor's, from
// startCapture until stopCapture has stopped it.
extern PaStream* captureStream;

// Main thread. Stops the supervisor (waiting for what it is doing in
// PortAudio), then stops and closes captureStream and terminates PortAudio.
// The capture state is left as it is. It waits as long as PortAudio does, so
// a program stops through stopCaptureWithin instead.
void stopCapture();
