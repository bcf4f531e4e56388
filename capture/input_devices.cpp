#include "capture/input_devices_internal.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include <portaudio.h>

#include "capture/audio_library_internal.h"
#include "capture/capture_format.h"
#include "capture/input_watch_internal.h"
#include "guard/bounded_call.h"

namespace {

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::vector<int> allOf(const std::vector<InputDevice>& inputs)
{
    std::vector<int> all;
    for (int i = 0; i < static_cast<int>(inputs.size()); ++i) {
        all.push_back(i);
    }
    return all;
}

} // namespace

std::vector<InputDevice> listInputs()
{
    std::vector<InputDevice> inputs;
    const PaDeviceIndex defaultInput = Pa_GetDefaultInputDevice();
    for (PaDeviceIndex i = 0; i < Pa_GetDeviceCount(); ++i) {
        const PaDeviceInfo* device = Pa_GetDeviceInfo(i);
        if (device == nullptr || device->maxInputChannels < 1) {
            continue;
        }
        const PaHostApiInfo* api = Pa_GetHostApiInfo(device->hostApi);
        inputs.push_back({i, api != nullptr ? api->name : "", device->name, i == defaultInput});
    }
    return inputs;
}

PaStreamParameters captureParameters(int deviceIndex)
{
    const PaDeviceInfo* device = Pa_GetDeviceInfo(deviceIndex);
    return {deviceIndex, static_cast<int>(captureChannels), paInt16,
            device != nullptr ? device->defaultLowInputLatency : 0.0, nullptr};
}

const char* captureFormatProblem(const InputDevice& input)
{
    const PaStreamParameters parameters = captureParameters(input.index);
    const PaError error = Pa_IsFormatSupported(&parameters, nullptr, captureRate);
    return error == paFormatIsSupported ? nullptr : Pa_GetErrorText(error);
}

const char* readInputs(const std::function<void(const std::vector<InputDevice>&)>& work)
{
    // Shared with the thread, which may outlive this call.
    const auto started = std::make_shared<bool>(false);
    const BoundedCall call = finishesWithin(
        [started, work] {
            PaError error = paNoError;
            *started = startAudioLibrary(error) == LibraryStart::started;
            if (*started) {
                work(listInputs());
                Pa_Terminate();
            }
        },
        audioAnswerLimit);
    switch (call) {
    case BoundedCall::finished: return *started ? nullptr : "PortAudio cannot start";
    case BoundedCall::stillRunning: return noAnswerProblem;
    case BoundedCall::notStarted: break;
    }
    return "no thread could be started";
}

InputChoice chooseInput(const std::vector<InputDevice>& inputs, std::string_view wanted)
{
    const int count = static_cast<int>(inputs.size());
    if (!wanted.empty() && std::all_of(wanted.begin(), wanted.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        for (int i = 0; i < count; ++i) {
            if (std::to_string(inputs[static_cast<size_t>(i)].index) == wanted) {
                return {i, {}};
            }
        }
        return {-1, allOf(inputs), false};
    }
    for (int i = 0; i < count; ++i) {
        if (inputs[static_cast<size_t>(i)].name == wanted) {
            return {i, {}};
        }
    }
    std::vector<int> named;
    std::vector<int> holding;
    const std::string part = lowered(wanted);
    for (int i = 0; i < count; ++i) {
        const std::string name = lowered(inputs[static_cast<size_t>(i)].name);
        if (name == part) {
            named.push_back(i);
        }
        if (name.find(part) != std::string::npos) {
            holding.push_back(i);
        }
    }
    if (named.size() == 1) {
        return {named.front(), {}};
    }
    if (holding.size() == 1) {
        return {holding.front(), {}};
    }
    return holding.empty() ? InputChoice{-1, allOf(inputs)} : InputChoice{-1, holding, true};
}
