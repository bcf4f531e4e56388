// The bits of the mask of held mouse buttons: what the refresh thread keeps
// in the controls' state and getMouse reports. Constants: any thread.
#pragma once

#include <cstdint>

constexpr int64_t leftButtonBit = 1;
constexpr int64_t rightButtonBit = 2;
constexpr int64_t middleButtonBit = 4;
constexpr int64_t firstExtraButtonBit = 8;
constexpr int64_t secondExtraButtonBit = 16;
