// State of PlotScreen shared between the window-service calls (any thread)
// and the refresh thread. Internal to plot/: programs use screen.h and input.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

// Held by every window-service operation for its whole length (apart from the
// sleeping of sleepMs), so calls from different threads never interleave.
extern std::mutex servicesLock;

// Taken after servicesLock when both are held. Held by each refresh pass for
// its whole length, by each drawing call while it writes pixels, and by the
// input operations, since the refresh thread's event handling writes their
// state.
extern std::mutex screenLock;

// True from a successful openScreen until the process ends. Written once,
// under servicesLock; read without a lock by code that only needs to know
// whether to do anything at all.
extern std::atomic<bool> screenIsOpen;

// Size of the open screen's frame buffer in pixels; 0 before openScreen.
// Written once by openScreen before screenIsOpen is set.
extern int32_t screenWidthPixels;
extern int32_t screenHeightPixels;
