// The refresh passes: the window's creation, and the passes that take in its
// events and bring it up to date with the title, palette, mouse requests and
// frame buffer of the screen state. Refresh thread only.
#pragma once

#include <SDL.h>
#include <cstdint>

#include "plot/logic/palette.h"

// The window and what the refresh thread keeps to bring it up to date.
struct RefreshTarget {
    SDL_Window* window = nullptr;
    SDL_Surface* shownOn = nullptr;     // the window surface of the last pass
    uint8_t* shownRows = nullptr;       // the frame buffer as the window shows it
    uint32_t pixelOf[paletteSize] = {}; // the palette as pixels of the surface converted into
    SDL_Surface* converted = nullptr;   // XRGB8888 rows for a window surface of another format
};

// Creates the window with the screen's size and title; on success also
// records what screenInfo reports and resets the controls' state.
bool createWindow(RefreshTarget& target);

// Runs a refresh pass whenever the services leave it work, and now and then
// for window events (awaitRefreshWork), until process exit asks the refresh
// thread to stop, then destroys the window and lets go of what the passes
// kept.
void refreshUntilStopped(RefreshTarget& target);
