#include "capture/input_watch_internal.h"

InputWatch startWatch(int64_t callbacks, int64_t nowMs)
{
    return {callbacks, nowMs, false};
}

InputVerdict watchInput(InputWatch& watch, int64_t callbacks, bool streamActive, int64_t nowMs)
{
    if (callbacks != watch.callbacks) {
        watch = {callbacks, nowMs, true};
        return InputVerdict::delivering;
    }
    if (!streamActive || nowMs - watch.sinceMs >= silenceLimitMs) {
        return InputVerdict::lost;
    }
    return watch.delivered ? InputVerdict::delivering : InputVerdict::waiting;
}

bool callUnanswered(int64_t callSinceMs, int64_t nowMs)
{
    return callSinceMs != 0 && nowMs - callSinceMs >= audioAnswerLimit.count();
}

InputState heardState(InputState recorded, int64_t callSinceMs, int64_t nowMs)
{
    if (!callUnanswered(callSinceMs, nowMs) || recorded == InputState::unavailable) {
        return recorded;
    }
    return recorded == InputState::delivering || recorded == InputState::lost ? InputState::lost : InputState::absent;
}
