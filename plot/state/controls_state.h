// Controls state of PlotScreen (keys and mouse): written by the refresh
// thread's event handling and read or changed by the controls' operations on
// any thread. Everything here is guarded by screenLock. Internal to plot/.
#pragma once

#include <cstdint>

#include "plot/logic/key_queue.h"
#include "plot/logic/key_translate.h"
#include "plot/state/mouse_buttons.h"

// Keys waiting for pollKey.
extern KeyQueue keyQueue;

// Set whenever a key is queued; cleared by every pollKey and by each test of
// sleepMs.
extern bool keyHit;

// Ties a key-down to the text event of the same key press.
extern TypingState typingState;

struct MouseState {
    uint16_t x = 0; // client pixels, as the last pointer movement (or setMouse) left them
    uint16_t y = 0;
    int64_t wheel = 0;   // notches since the screen opened, +1 for each away from the user
    int64_t buttons = 0; // held buttons, the bits of mouse_buttons.h
    bool clip = false;   // the pointer is confined to the drawing area
    bool visible = true; // the pointer shows over the window
    bool inside = false; // the pointer is over the drawing area
    bool active = false; // the window is the active one: it has the focus and is not minimised
};
extern MouseState mouseState;

// What setMouse asked of the pointer that the refresh thread has not done
// yet. Visibility and confinement take their values from mouseState.
struct MouseRequests {
    bool move = false;
    int32_t moveX = 0;
    int32_t moveY = 0;
    bool showOrHide = false;
    bool confine = false;
};
extern MouseRequests mouseRequests;

// After setMouse moves the pointer, movements the window system reported
// before the move would put the old place back into mouseState. Until the
// move's own movement arrives, movements to other places are ignored; after
// a few refresh passes without it (the pointer may have been there already,
// so that no movement comes) movements count again.
inline constexpr int32_t pointerSettlingPasses = 5;
struct PointerSettling {
    int32_t x = 0;
    int32_t y = 0;
    int32_t passesLeft = 0;
};
extern PointerSettling pointerSettling;
