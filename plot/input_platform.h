// How the refresh thread hands window events to the input side. Every
// function here runs on the refresh thread only, with screenLock held: the
// refresh thread is the only thread that calls the platform.
#pragma once

#include <SDL.h>

// Clears the key queue and the mouse state; called once by openScreen when
// the window exists, before the screen counts as open.
void resetInputState(SDL_Window* window);

// Turns one window event into queued keys and mouse state.
void handleWindowEvent(const SDL_Event& event, SDL_Window* window);

// Carries out the pointer moves, visibility and confinement changes that
// setMouse asked for since the last pass.
void applyMouseRequests(SDL_Window* window);
