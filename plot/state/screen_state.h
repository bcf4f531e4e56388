// State of PlotScreen shared between the window-service calls (any thread)
// and the refresh thread. Internal to plot/: programs use screen.h and
// controls.h.
//
// Everything here lives until the process ends and is trivially destructible,
// so the refresh thread may still use it while the process exits.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "plot/logic/palette.h"
#include "plot/logic/raster.h"
#include "plot/logic/window_title.h"
#include "plot/state/screen_info.h"

// Held by every window-service operation for its whole length (apart from the
// sleeping of sleepMs), so calls from different threads never interleave.
extern std::mutex servicesLock;

// Taken after servicesLock when both are held. Held by each refresh pass for
// its whole length, by each drawing call while it writes pixels, and by the
// controls' operations, since the refresh thread's event handling writes their
// state.
extern std::mutex screenLock;

// True from a successful openScreen until the process ends. Written once,
// under servicesLock; read without a lock by code that only needs to know
// whether to do anything at all.
extern std::atomic<bool> screenIsOpen;

// Set by the refresh thread when the connection to the display is lost,
// never cleared.
extern std::atomic<bool> displayLost;

// Size of the open screen's frame buffer in pixels; 0 before openScreen.
// Written once by openScreen before screenIsOpen is set.
extern int32_t screenWidthPixels;
extern int32_t screenHeightPixels;

// The frame buffer: screenWidthPixels x screenHeightPixels palette indices,
// row after row, top row first, pitch = width. Allocated filled with 0 by
// openScreen and never freed; null before. Its pixels are written and read
// under screenLock.
extern uint8_t* screenPixels;

// One flag (0 or 1) per frame-buffer row: set for every row a drawing call
// may have touched, cleared once the refresh has copied it. Allocated with
// the frame buffer; under screenLock.
extern uint8_t* dirtyRows;

// The palette the window shows, and whether it changed since the refresh
// thread last loaded it. Under screenLock.
extern PaletteEntry screenPalette[paletteSize];
extern bool paletteChanged;

// The window title, zero-terminated, and whether the window still has to be
// given it. Under screenLock.
extern char windowTitle[windowTitleCapacity];
extern bool titleChanged;

// Whether setWindowTitle was ever called; under servicesLock.
extern bool titleWasSet;

// What screenInfo reports for the open screen beyond its size: the display's
// refresh rate in hertz (0 when unknown) and the video driver's name. Written
// by the refresh thread when it creates the window, before openScreen
// returns; read under servicesLock afterwards.
extern int64_t screenRefreshRate;
extern char screenDriverName[driverNameCapacity];

// The frame buffer as a raster view (all zeros before openScreen).
RasterView screenView();

// Whether the services have left the refresh thread work since its last
// pass began: rows to show, a title, mouse requests. The thread sleeps until
// they wake it for such work (or window events may have come), so they wake
// it once for all the work of a frame. Under screenLock; each pass clears it.
extern bool refreshAsked;

// Notes that the services have left the refresh thread work: true when it
// is the first since its last pass began, and the thread is to be woken
// (wakeRefreshThread). screenLock held.
bool askForRefresh();

// Sets the dirtyRows flags of the rows in span, and asks for a refresh
// (askForRefresh) when span holds any. screenLock held.
bool markDirtyRows(RowSpan span);

// The span from the first to the last dirty row, whose flags it clears; empty
// when no row is dirty. screenLock held.
RowSpan takeDirtyRows();
