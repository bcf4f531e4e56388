// The hand-over between the window services (one call at a time, under
// servicesLock), the exit handler and the refresh thread. Internal to
// plot/platform/. Any thread, with the mailbox's own lock held for every
// field.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "plot/state/screen_info.h"

enum class RefreshRequest { none, desktopInfo, openWindow };

struct RefreshMailbox {
    std::mutex lock;
    std::condition_variable changed;
    bool started = false;
    bool stopsAtExit = false;
    std::thread::id threadId;
    RefreshRequest request = RefreshRequest::none;
    bool answered = false;
    bool windowOpened = false;
    ScreenInfo desktop;
    bool stopRequested = false;
    bool workLeft = false; // the services left work for the next pass (wakeRefreshThread)
    bool stopped = false;
    std::string problem; // why no window opened, for the user
};

// Never destroyed: the refresh thread may still be waiting on it while the
// process exits, and destroying a condition variable with a waiter hangs.
RefreshMailbox& refreshMailbox();

// Refresh thread, between two passes: waits until the services leave work
// for a pass, then a little longer so that the rest of a frame drawn in many
// calls comes with it; or until window events may have come; or until process
// exit asks the thread to stop, which it tells by returning false. Takes the
// mailbox's lock.
bool awaitRefreshWork();
