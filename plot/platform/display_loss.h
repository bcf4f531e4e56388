// The loss of the display: the refresh thread's hold on screenLock, which a
// lost connection lets go of so that drawing calls finish, and the handler
// that meets the loss. Refresh thread only.
#pragma once

// screenLock taken by the refresh thread for a refresh pass or while it
// creates the window, noted for the loss of the display.
struct RefreshScreenLock {
    RefreshScreenLock();
    ~RefreshScreenLock();
    RefreshScreenLock(const RefreshScreenLock&) = delete;
    RefreshScreenLock& operator=(const RefreshScreenLock&) = delete;
};

// Has the loss of the display met by this file rather than by Xlib's exit.
// Called before the first connection, so that a display that goes away while
// SDL starts is met too, and once more when the window exists, in case SDL's
// own set-up put another handler in its place. Only Xlib calls the handler,
// so this does nothing on other platforms.
void catchDisplayLoss();
