#include "capture/capture_stream_internal.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "capture/audio_library_internal.h"
#include "capture/capture_format.h"
#include "capture/capture_ring_internal.h"
#include "capture/input_devices_internal.h"
#include "capture/input_watch_internal.h"
#include "guard/bounded_call.h"
#include "guard/library_messages.h"

PaStream* captureStream = nullptr;
std::string chosenInput;

namespace {

// How often the supervisor looks at the stream, and how long it waits
// between two attempts to open an input.
constexpr auto watchInterval = std::chrono::milliseconds(200);
constexpr auto retryInterval = std::chrono::seconds(1);

constexpr const char* noThreadProblem = "no thread could be started for it";

// Why a running stream counts as gone without having ended.
const std::string silentProblem = "no samples for " + std::to_string(silenceLimitMs / 1000) + " seconds";

// The input as the supervisor last recorded it, and why it is missing. The
// problem is stored before the state, so that a reader that sees the state
// sees its problem.
std::atomic<InputState> inputState{InputState::opening};
std::atomic<const char*> inputProblem{""};

// When the supervisor entered the PortAudio call it is in (steady clock, in
// ms, never 0); 0 while it is in none.
std::atomic<int64_t> libraryCallSinceMs{0};

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

// Notes the time spent in PortAudio for as long as it lives, so that a call
// that does not return shows in currentInput.
struct LibraryCall {
    LibraryCall() { libraryCallSinceMs.store(std::max<int64_t>(nowMs(), 1)); }
    ~LibraryCall() { libraryCallSinceMs.store(0); }
    LibraryCall(const LibraryCall&) = delete;
    LibraryCall& operator=(const LibraryCall&) = delete;
};

void record(InputState state, const char* problem)
{
    inputProblem.store(problem);
    inputState.store(state);
}

// No input delivers, for this reason: lost once one has delivered, absent
// before.
void becomeMissing(const char* problem, bool delivered)
{
    const bool lost = delivered || inputState.load() == InputState::lost;
    record(lost ? InputState::lost : InputState::absent, problem);
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
// the chosen one); on failure the input is missing for PortAudio's reason,
// or unavailable for good when PortAudio broke. PortAudio stays initialised
// until the next attempt or the stop.
bool openInput()
{
    const LibraryCall call;
    if (portAudioUp) {
        Pa_Terminate();
        portAudioUp = false;
    }
    PaError error = paNoError;
    const LibraryStart start = startAudioLibrary(error);
    if (start == LibraryStart::broken) {
        record(InputState::unavailable, brokenLibraryProblem);
        return false;
    }
    portAudioUp = start == LibraryStart::started;
    if (portAudioUp) {
        error = chosenInput.empty() ? Pa_OpenDefaultStream(&captureStream, static_cast<int>(captureChannels), 0,
                                                           paInt16, captureRate, 1, captureCallback, nullptr)
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
    const LibraryCall call;
    Pa_StartStream(captureStream);
    return watch;
}

// Stops captureStream with stop (Pa_StopStream, or Pa_AbortStream for a
// stream that delivers nothing: stopping one waits for samples that may
// never come, a suspended source's say) and closes it.
void closeInput(PaError (*stop)(PaStream*))
{
    if (captureStream == nullptr) {
        return;
    }
    const LibraryCall call;
    stop(captureStream);
    Pa_CloseStream(captureStream);
    captureStream = nullptr;
}

bool streamActive()
{
    const LibraryCall call;
    return Pa_IsStreamActive(captureStream) == 1;
}

// Waits up to the interval; true when the main thread asks the supervisor to
// stop.
template <typename Duration>
bool stopRequestedWithin(Duration interval)
{
    std::unique_lock lock(supervisorLock);
    return supervisorWake.wait_for(lock, interval, [] { return supervisorStopping; });
}

void superviseInput()
{
    InputWatch watch;
    bool silenced = false;
    auto nextAttempt = std::chrono::steady_clock::now();
    do {
        if (captureStream != nullptr) {
            const bool active = streamActive();
            const InputVerdict verdict =
                watchInput(watch, callbackCount.load(std::memory_order_relaxed), active, nowMs());
            if (verdict == InputVerdict::delivering) {
                inputState.store(InputState::delivering);
            } else if (verdict == InputVerdict::lost) {
                // Told before the close, should that wait all the same.
                becomeMissing(active ? silentProblem.c_str() : "the stream stopped", watch.delivered);
                closeInput(Pa_AbortStream);
                silenced = silenceCapture();
                nextAttempt = std::chrono::steady_clock::now() + retryInterval;
            }
            continue;
        }
        // No stream: the snapshot shows silence rather than the last samples,
        // and the input is tried again now and then.
        silenced = silenced || silenceCapture();
        if (inputState.load() == InputState::unavailable || std::chrono::steady_clock::now() < nextAttempt) {
            continue;
        }
        nextAttempt = std::chrono::steady_clock::now() + retryInterval;
        if (openInput()) {
            watch = startStream();
        }
    } while (!stopRequestedWithin(watchInterval));
}

} // namespace

InputReport currentInput()
{
    const InputState recorded = inputState.load();
    const char* problem = inputProblem.load();
    const int64_t callSinceMs = libraryCallSinceMs.load();
    const int64_t now = nowMs();
    const InputState heard = heardState(recorded, callSinceMs, now);
    return {heard, heard != InputState::unavailable && callUnanswered(callSinceMs, now) ? noAnswerProblem : problem};
}

bool snapshotHoldsInput(int64_t fill)
{
    if (fill != 0) {
        return fill == captureLength;
    }
    const InputState state = currentInput().state;
    return state == InputState::absent || state == InputState::lost || state == InputState::unavailable;
}

void startCapture()
{
    quietLibraryMessages();
    lowerSnapshotHold();
    supervisorStopping = false;
    try {
        supervisor = std::thread(superviseInput);
    } catch (const std::system_error&) {
        record(InputState::unavailable, noThreadProblem);
    }
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
    closeInput(Pa_StopStream);
    if (portAudioUp) {
        Pa_Terminate();
        portAudioUp = false;
    }
}

bool stopCaptureWithin(std::chrono::milliseconds limit)
{
    return finishesWithin(stopCapture, limit) == BoundedCall::finished;
}
