// The audio inputs PortAudio sees, and how a user's choice among them is
// read. readInputs is for the main thread before capture starts, and
// captureFormatProblem for the work it runs; chooseInput is pure.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct InputDevice {
    int index = 0;       // PortAudio's device index, valid until PortAudio is terminated
    std::string hostApi; // e.g. "ALSA", "MME"
    std::string name;
    bool isDefault = false;
};

// Why the input cannot give the capture's format (PortAudio's text), or
// null when it can. Needs PortAudio initialised, on the thread that owns it.
const char* captureFormatProblem(const InputDevice& input);

// Main thread, before startCapture. Starts PortAudio
// (audio_library_internal.h), runs work with the inputs it sees (work may call
// captureFormatProblem) and terminates PortAudio again, all on a thread of its
// own, waited for at most audioAnswerLimit (input_watch.h). Since that thread
// may outlive the wait, work touches only what it keeps alive itself (by
// value, or shared), and leaves the rest (process-wide state, the lines to the
// user) to the caller, once this has returned that work ran. Null when work
// has run; otherwise why it could not: PortAudio cannot start, the sound
// server does not answer (PortAudio is then left to that thread for good, and
// the program must end), or no thread could be had.
const char* readInputs(const std::function<void(const std::vector<InputDevice>&)>& work);

// The one input that wanted names, or none:
// - digits only: the input with that index;
// - else the input whose name is exactly wanted, or else the only one whose
//   name is wanted in another case;
// - else the only input whose name holds wanted, ignoring case.
// When none or several fit, chosen is -1 and candidates holds the positions
// in inputs of those that fit (several), or of all inputs (none).
struct InputChoice {
    int chosen = -1; // position in inputs
    std::vector<int> candidates;
    bool several = false;
};
InputChoice chooseInput(const std::vector<InputDevice>& inputs, std::string_view wanted);
