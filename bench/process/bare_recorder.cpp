// bare_recorder: the audio path of the monitors and nothing else. It opens the
// same default input stream as they do (one channel of 16-bit samples at
// 48000 Hz, one frame per callback), with a callback that does no work, and
// records until SIGINT or SIGTERM. Its cost is the floor that the monitors'
// cost is measured against.
#include <csignal>
#include <portaudio.h>
#include <pthread.h>

namespace {

int ignoreSamples(const void*, void*, unsigned long, const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void*)
{
    return paContinue;
}

} // namespace

int main()
{
    // Blocked before PortAudio starts its threads, so that they inherit the
    // mask and the main thread alone takes the signal, waiting without
    // spending anything.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    Pa_Initialize();
    PaStream* stream = nullptr;
    Pa_OpenDefaultStream(&stream, 1, 0, paInt16, 48000.0, 1, ignoreSamples, nullptr);
    Pa_StartStream(stream);

    int received = 0;
    sigwait(&endSignals, &received);

    Pa_StopStream(stream);
    Pa_CloseStream(stream);
    Pa_Terminate();
    return 0;
}
