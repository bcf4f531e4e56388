// Controls side of PlotScreen: the key queue, the mouse and the frame pause.
// Filled by the refresh thread from window events; every operation may be
// called from any thread and runs under servicesLock (and screenLock where it
// touches the queue or the mouse state), except the sleeping of sleepMs.
#pragma once

#include <cstdint>
#include <string>

#include "plot/state/mouse_buttons.h"

// The codes pollKey hands out, Escape's and Ctrl-C's among them.
#include "plot/logic/key_queue.h"

// 0 with the pointer position (frame-buffer pixels), the wheel count since the
// screen opened, the mask of held buttons (the bits of mouse_buttons.h) and 1
// in clip while the pointer is confined. 1 with all five values -1 when the
// window is not active, the pointer is not over the drawing area, or no
// screen is open.
int32_t getMouse(int64_t& x, int64_t& y, int64_t& wheel, int64_t& buttons, int64_t& clip);

// Moves the pointer to (x, y) clamped into the frame buffer, unless both are
// keepMouse; a single keepMouse coordinate keeps its current value.
// The new position counts as the mouse's at once; the real pointer follows
// at the refresh thread's next pass. visibility 1+ shows the pointer over the
// window, 0 hides it; clip 1+ confines it to the drawing area, 0 releases it;
// -1 (any negative value) keeps either. Returns 0, or 1 when no screen is open.
constexpr int32_t keepMouse = INT32_MIN;
int32_t setMouse(int32_t x, int32_t y, int32_t visibility, int32_t clip);

// Never waits. Takes the oldest queued key and returns its text: one character
// for codes up to 255, else code % 256 then code / 256. Empty when no key is
// waiting. Always clears the key-hit flag.
std::string pollKey();

// Pauses the calling thread: -1 waits for a key (tested every 50 ms); 1 to 99
// sleeps that long; 0 or less returns at once; 100 or more sleeps in 50 ms
// steps, returning early when a key has been queued.
void sleepMs(int32_t ms);
