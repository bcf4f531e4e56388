// Opening, starting and stopping the default audio input. Main thread only.
// No PortAudio result is examined: with no usable input device every call
// fails harmlessly, no callback runs and the snapshot keeps its zeros.
#pragma once

#include <portaudio.h>

// The open input stream; null until openCaptureStream succeeds.
extern PaStream* captureStream;

// Initialises PortAudio and opens the default input as one channel of signed
// 16-bit samples at 48000 per second, one frame per buffer, with
// captureCallback. The host back-ends' probing noise on stderr is discarded.
void openCaptureStream();

// Lowers snapshotHold and starts captureStream.
void startCaptureStream();

// openCaptureStream, then startCaptureStream.
void startCapture();

// Stops and closes captureStream and terminates PortAudio. The capture state
// is left as it is.
void stopCapture();
