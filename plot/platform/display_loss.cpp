#include "plot/platform/display_loss.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "plot/platform/refresh_mailbox.h"
#include "plot/state/screen_state.h"

#ifndef _WIN32
#include <X11/Xlib.h>
#endif

namespace {

// Whether the refresh thread holds screenLock (in a refresh pass or while it
// creates the window). Refresh thread only.
bool refreshHoldsScreenLock = false;

#ifndef _WIN32
// Xlib calls this on the refresh thread when the connection to the display
// breaks, and ends the process with status 1 when it returns, before the
// program could write its dump. Instead the loss is recorded for the main
// thread, which then runs its exit sequence, and this thread stays here
// until the process ends: it lets go of screenLock so that drawing calls
// finish, and counts as stopped so that the exit does not wait for it.
int handleDisplayLoss(Display*)
{
    displayLost.store(true);
    if (refreshHoldsScreenLock) {
        refreshHoldsScreenLock = false;
        screenLock.unlock();
    }
    RefreshMailbox& box = refreshMailbox();
    {
        const std::lock_guard lock(box.lock);
        box.stopped = true;
        box.changed.notify_all();
    }
    for (;;) {
        std::this_thread::sleep_for(std::chrono::hours(1));
    }
}
#endif

} // namespace

RefreshScreenLock::RefreshScreenLock()
{
    screenLock.lock();
    refreshHoldsScreenLock = true;
}

RefreshScreenLock::~RefreshScreenLock()
{
    refreshHoldsScreenLock = false;
    screenLock.unlock();
}

void catchDisplayLoss()
{
#ifndef _WIN32
    XSetIOErrorHandler(handleDisplayLoss);
#endif
}
