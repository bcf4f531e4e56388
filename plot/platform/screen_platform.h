// The services' side of the refresh thread, the one thread that talks to
// the windowing system. It is started on first need and then serves until
// the process ends: it answers desktop queries while no screen is open,
// creates the window, and from then on runs the refresh passes. At process
// exit it destroys the window and shuts the windowing system down. When the
// windowing system cannot start (no display) the thread ends at once, and
// every request from then on fails without waiting.
#pragma once

#include <string>

#include "plot/state/screen_info.h"

// The desktop's width, height, depth and refresh rate, with zeros when there
// is no display. Called with servicesLock held; waits for the refresh thread.
ScreenInfo platformDesktopInfo();

// Creates the window for the frame buffer in the screen state (its size,
// windowTitle), calls resetControlsState, and starts the refresh passes. True
// once the window exists, false when it cannot be created. Called with
// servicesLock held and the frame buffer, palette and title in place; waits
// for the refresh thread.
bool platformOpenWindow();

// The refresh thread's name, where the system names threads.
inline constexpr const char* refreshThreadName = "refresh";

// Any thread, with servicesLock held: the services have left work for the
// refresh thread (askForRefresh said to wake it), which then makes a pass
// within a few milliseconds.
void wakeRefreshThread();

// Why no window could be opened, in a few words for the user: no display,
// no refresh thread, or the window system's reason. Empty before a
// failure. Any thread.
std::string platformProblem();
