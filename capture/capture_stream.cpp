#include "capture/capture_stream.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "capture/bounded_call.h"
#include "capture/capture_ring.h"
#include "capture/input_devices.h"
#include "capture/input_watch.h"
#include "capture/library_messages.h"

PaStream* captureStream = nullptr;
std::string chosenInput;
std::atomic<InputState> inputState{InputState::opening};
std::atomic<const char*> inputProblem{""};

namespace {

// How often the supervisor looks at the stream, and how long it waits
// between two attempts to open an input.
constexpr auto watchInterval = std::chrono::milliseconds(200);
constexpr auto retryInterval = std::chrono::seconds(1);

// Whether PortAudio is initialised (each Pa_Initialize needs one
// Pa_Terminate). Owned like captureStream.
bool portAudioUp = false;

// The supervisor thread and how the main thread stops it.
std::thread supervisor;
std::mutex supervisorLock;
std::condition_variable supervisorWake;
bool supervisorStopping = false; // under supervisorLock

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// No input delivers, for this reason: lost once one has delivered, absent
// before.
void becomeMissing(const char* problem, bool delivered)
{
    inputProblem.store(problem);
    const bool lost = delivered || inputState.load() == InputState::lost;
    inputState.store(lost ? InputState::lost : InputState::absent);
}

// Opens the input the user chose, found again by its name: its index may
// change whenever PortAudio looks for devices.
PaError openChosenInput()
{
    for (const InputDevice& input : listInputs()) {
        if (input.name == chosenInput) {
            const PaStreamParameters parameters = captureParameters(input.index);
            return Pa_OpenStream(&captureStream, &parameters, nullptr, captureRate, 1, paNoFlag, captureCallback,
                                 nullptr);
        }
    }
    return paDeviceUnavailable;
}

// Initialises PortAudio afresh (it looks for devices only then, so a sound
// server that came since is seen) and opens the input (the default one, or
// the chosen one); on failure
// the input is missing for PortAudio's reason. PortAudio stays initialised
// until the next attempt or the stop.
bool openInput()
{
    if (portAudioUp) {
        Pa_Terminate();
    }
    PaError error = Pa_Initialize();
    portAudioUp = error == paNoError;
    if (error == paNoError) {
        error = chosenInput.empty()
                    ? Pa_OpenDefaultStream(&captureStream, 1, 0, paInt16, captureRate, 1, captureCallback, nullptr)
                    : openChosenInput();
    }
    if (error != paNoError) {
        captureStream = nullptr;
        becomeMissing(Pa_GetErrorText(error), false);
        return false;
    }
    return true;
}

// Starts captureStream, with a watch that counts every callback from its
// first: a source may deliver a whole burst before the next look.
InputWatch startStream()
{
    const InputWatch watch = startWatch(callbackCount.load(std::memory_order_relaxed), nowMs());
    Pa_StartStream(captureStream);
    return watch;
}

void closeInput()
{
    Pa_StopStream(captureStream);
    Pa_CloseStream(captureStream);
    captureStream = nullptr;
}

// Waits up to the interval; true when the main thread asks the supervisor to
// stop.
template <typename Duration>
bool stopRequestedWithin(Duration interval)
{
    std::unique_lock lock(supervisorLock);
    return supervisorWake.wait_for(lock, interval, [] { return supervisorStopping; });
}

void superviseInput(InputWatch watch)
{
    bool silenced = false;
    auto nextAttempt = std::chrono::steady_clock::now();
    while (!stopRequestedWithin(watchInterval)) {
        if (captureStream != nullptr) {
            const bool active = Pa_IsStreamActive(captureStream) == 1;
            const InputVerdict verdict =
                watchInput(watch, callbackCount.load(std::memory_order_relaxed), active, nowMs());
            if (verdict == InputVerdict::delivering) {
                inputState.store(InputState::delivering);
            } else if (verdict == InputVerdict::lost) {
                closeInput();
                silenced = silenceCapture();
                becomeMissing(active ? "no samples for three seconds" : "the stream stopped", watch.delivered);
                nextAttempt = std::chrono::steady_clock::now() + retryInterval;
            }
            continue;
        }
        // No stream: the snapshot shows silence rather than the last samples,
        // and the default input is tried again now and then.
        silenced = silenced || silenceCapture();
        if (std::chrono::steady_clock::now() < nextAttempt) {
            continue;
        }
        nextAttempt = std::chrono::steady_clock::now() + retryInterval;
        if (openInput()) {
            watch = startStream();
        }
    }
}

} // namespace

void openCaptureStream()
{
    quietLibraryMessages();
    inputState.store(InputState::opening);
    openInput();
}

void startCaptureStream()
{
    lowerSnapshotHold();
    const InputWatch watch = startStream();
    supervisorStopping = false;
    // Without a thread to spare the stream runs unwatched, as it would
    // without supervision.
    try {
        supervisor = std::thread(superviseInput, watch);
    } catch (const std::system_error&) {
    }
}

void startCapture()
{
    openCaptureStream();
    startCaptureStream();
}

void stopCapture()
{
    if (supervisor.joinable()) {
        {
            const std::lock_guard lock(supervisorLock);
            supervisorStopping = true;
        }
        supervisorWake.notify_all();
        supervisor.join();
    }
    closeInput();
    if (portAudioUp) {
        Pa_Terminate();
        portAudioUp = false;
    }
}

bool stopCaptureWithin(std::chrono::milliseconds limit)
{
    return finishesWithin(stopCapture, limit);
}
