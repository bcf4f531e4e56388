// The refresh thread on SDL: every SDL call of the window services happens
// on this one thread. Started by the first service that needs the platform
// (screenInfo before a screen is open, or openScreen), it answers desktop
// queries, creates the window and then runs the refresh passes until the
// process exits. This file starts and stops the thread and serves the
// services' requests; refresh_passes.cpp keeps the window up to date and
// display_loss.cpp meets the loss of the display.
#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "plot/platform/display_loss.h"
#include "plot/platform/refresh_mailbox.h"
#include "plot/platform/refresh_passes.h"
#include "plot/platform/screen_platform.h"

namespace {

// How long process exit waits for the refresh thread to close the window
// before it goes on regardless.
constexpr auto stopDeadline = std::chrono::seconds(2);

void answer(const ScreenInfo& desktop, bool windowOpened)
{
    RefreshMailbox& box = refreshMailbox();
    const std::lock_guard lock(box.lock);
    box.request = RefreshRequest::none;
    box.answered = true;
    box.desktop = desktop;
    box.windowOpened = windowOpened;
    box.changed.notify_all();
}

ScreenInfo desktopInfo()
{
    ScreenInfo info;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        info.width = mode.w;
        info.height = mode.h;
        info.depth = SDL_BITSPERPIXEL(mode.format);
        info.refreshRate = mode.refresh_rate;
    }
    return info;
}

// Answers requests until the process exits: desktop queries while there is
// no window, then the window's refresh passes.
void serveRequests(RefreshMailbox& box)
{
    for (;;) {
        RefreshRequest request = RefreshRequest::none;
        {
            std::unique_lock lock(box.lock);
            box.changed.wait(lock, [&box] { return box.stopRequested || box.request != RefreshRequest::none; });
            if (box.stopRequested) {
                return;
            }
            request = box.request;
        }
        if (request == RefreshRequest::desktopInfo) {
            answer(desktopInfo(), false);
            continue;
        }
        RefreshTarget target;
        const bool opened = createWindow(target);
        if (!opened) {
            const std::lock_guard lock(box.lock);
            box.problem = std::string("cannot create the window (") + SDL_GetError() + ")";
        }
        answer({}, opened);
        if (opened) {
            refreshUntilStopped(target);
            return;
        }
    }
}

// Whether SDL started on a driver that shows nothing: with no display that
// answers it falls back to its offscreen driver, whose window nobody sees.
// Such a driver counts only when the user asked for it by name.
bool drivesNoDisplay()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const bool blind =
        driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    return blind && (asked == nullptr || *asked == '\0');
}

// Without a display the thread ends at once, and every later request is
// answered as failed without it.
void refreshThread()
{
#ifdef __linux__
    // Named for the tools that show a process's threads (top -H, the cost
    // benchmark).
    pthread_setname_np(pthread_self(), refreshThreadName);
#endif
    // SIGINT and SIGTERM stay the program's own business, and the screen
    // saver stays off while the window is open (SDL restores it at quit).
    // The window surface is plain memory copied by the windowing system: an
    // accelerated one would recreate the window behind a 3D renderer. On
    // Windows, Alt+F4 is a key like any other, not a close request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_WINDOWS_NO_CLOSE_ON_ALT_F4, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    RefreshMailbox& box = refreshMailbox();
    catchDisplayLoss();
    const bool started = SDL_Init(SDL_INIT_VIDEO) == 0 && !drivesNoDisplay();
    if (started) {
        serveRequests(box);
    }
    // Gives the screen saver back and lets go of the windowing system.
    SDL_Quit();
    const std::lock_guard lock(box.lock);
    if (!started) {
        box.problem = "no display";
    }
    box.stopped = true;
    box.changed.notify_all();
}

// At process exit: lets the refresh thread close the window and shut SDL
// down before anything it uses goes away. Does not wait for itself when the
// exit happens on the refresh thread.
void stopRefreshThread()
{
    RefreshMailbox& box = refreshMailbox();
    std::unique_lock lock(box.lock);
    if (std::this_thread::get_id() == box.threadId) {
        return;
    }
    box.stopRequested = true;
    box.changed.notify_all();
    box.changed.wait_for(lock, stopDeadline, [&box] { return box.stopped; });
}

void startRefreshThread()
{
    RefreshMailbox& box = refreshMailbox();
    const std::lock_guard lock(box.lock);
    if (box.started) {
        return;
    }
    box.started = true;
    // Without the thread there is no window: the refresh thread counts as
    // stopped, and every request fails at once.
    try {
        std::thread thread(refreshThread);
        box.threadId = thread.get_id();
        thread.detach();
    } catch (const std::system_error& error) {
        box.problem = "cannot start the window's thread (" + error.code().message() + ")";
        box.stopped = true;
    }
}

// Hands the request to the refresh thread and waits for its answer; false
// when the thread has stopped (no display, or the process is exiting).
bool ask(RefreshRequest request, ScreenInfo& desktop, bool& windowOpened)
{
    startRefreshThread();
    RefreshMailbox& box = refreshMailbox();
    std::unique_lock lock(box.lock);
    box.request = request;
    box.answered = false;
    box.changed.notify_all();
    box.changed.wait(lock, [&box] { return box.answered || box.stopped; });
    desktop = box.desktop;
    windowOpened = box.windowOpened;
    return box.answered;
}

} // namespace

ScreenInfo platformDesktopInfo()
{
    ScreenInfo desktop;
    bool windowOpened = false;
    return ask(RefreshRequest::desktopInfo, desktop, windowOpened) ? desktop : ScreenInfo{};
}

std::string platformProblem()
{
    RefreshMailbox& box = refreshMailbox();
    const std::lock_guard lock(box.lock);
    return box.problem;
}

void wakeRefreshThread()
{
    RefreshMailbox& box = refreshMailbox();
    {
        const std::lock_guard lock(box.lock);
        box.workLeft = true;
    }
    box.changed.notify_all();
}

bool platformOpenWindow()
{
    // Registered with the first window rather than with the thread, so that
    // at exit the window goes before anything its opener set up earlier
    // (such as the display server itself). An idle thread makes no calls.
    {
        RefreshMailbox& box = refreshMailbox();
        const std::lock_guard lock(box.lock);
        if (!box.stopsAtExit) {
            box.stopsAtExit = true;
            std::atexit(stopRefreshThread);
        }
    }
    ScreenInfo desktop;
    bool windowOpened = false;
    return ask(RefreshRequest::openWindow, desktop, windowOpened) && windowOpened;
}
