// How the refresh thread hands window events to the controls side. Every
// function here runs on the refresh thread only, with screenLock held: the
// refresh thread is the only thread that calls the platform.
#pragma once

#include <SDL.h>

// Clears the key queue and the mouse state, works out whether the window is
// active and the pointer over it, and starts text input (typed characters
// arrive as text events); called once by openScreen when the window exists,
// before the screen counts as open.
void resetControlsState(SDL_Window* window);

// Turns one window event into queued keys and mouse state: key-downs and
// typed text into key codes, a close request into closeKey (once: the quit
// event that follows it is the same request), pointer movement, buttons
// (captured while any is held, all cleared when the window gains or loses the
// focus) and wheel notches; after every event, whether the window is active
// and the pointer over its drawing area.
void handleWindowEvent(const SDL_Event& event, SDL_Window* window);

// Carries out the pointer moves, visibility and confinement changes that
// setMouse asked for since the last pass.
void applyMouseRequests(SDL_Window* window);
