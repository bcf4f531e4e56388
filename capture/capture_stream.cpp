#include "capture/capture_stream.h"

#include "capture/capture_ring.h"
#include "capture/stderr_silence.h"

PaStream* captureStream = nullptr;

// Initialising PortAudio and opening a device are what make the host
// back-ends print their probing noise.
void openCaptureStream()
{
    const int saved = silenceStderr();
    Pa_Initialize();
    Pa_OpenDefaultStream(&captureStream, 1, 0, paInt16, 48000.0, 1, captureCallback, nullptr);
    restoreStderr(saved);
}

void startCaptureStream()
{
    lowerSnapshotHold();
    Pa_StartStream(captureStream);
}

void startCapture()
{
    openCaptureStream();
    startCaptureStream();
}

void stopCapture()
{
    Pa_StopStream(captureStream);
    Pa_CloseStream(captureStream);
    Pa_Terminate();
}
