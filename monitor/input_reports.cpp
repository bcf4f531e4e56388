#include "monitor/input_reports.h"

#include <string>

#include "capture/capture_stream.h"
#include "monitor/user_notice.h"

namespace {

// The state the user was last told of; opening says nothing.
InputState toldState = InputState::opening;

} // namespace

void tellInputChanges()
{
    const InputReport input = currentInput();
    const InputState state = input.state;
    // Opening says nothing, and the line after it depends on what was told
    // before: an input that answers again after a wait is found or back.
    if (state == toldState || state == InputState::opening) {
        return;
    }
    const std::string problem = input.problem;
    switch (state) {
    case InputState::absent: tellUser("no audio input (" + problem + "); showing silence until one appears"); break;
    case InputState::unavailable: tellUser("no audio input (" + problem + "); showing silence"); break;
    case InputState::lost: tellUser("audio input lost (" + problem + "); showing silence until it comes back"); break;
    case InputState::delivering:
        if (toldState == InputState::absent || toldState == InputState::lost) {
            tellUser(toldState == InputState::lost ? "audio input back" : "audio input found");
        }
        break;
    case InputState::opening: break;
    }
    toldState = state;
}
