// The platform thread on SDL: every SDL call of the window services happens
// on this one thread. Started by the first service that needs the platform
// (screenInfo before a screen is open, or openScreen), it answers desktop
// queries, creates the window and then runs the refresh passes until the
// process exits.
#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "plot/frame_convert.h"
#include "plot/input_platform.h"
#include "plot/screen_platform.h"
#include "plot/screen_state.h"

namespace {

constexpr auto refreshInterval = std::chrono::milliseconds(10);

// How long process exit waits for the platform thread to close the window
// before it goes on regardless.
constexpr auto stopDeadline = std::chrono::seconds(2);

enum class PlatformRequest { none, desktopInfo, openWindow };

// The hand-over between the service calls (one at a time, under
// servicesLock), the exit handler and the platform thread.
struct PlatformMailbox {
    std::mutex lock;
    std::condition_variable changed;
    bool started = false;
    bool stopsAtExit = false;
    std::thread::id threadId;
    PlatformRequest request = PlatformRequest::none;
    bool answered = false;
    bool windowOpened = false;
    ScreenInfo desktop;
    bool stopRequested = false;
    bool stopped = false;
};

// Never destroyed: the platform thread may still be waiting on it while the
// process exits, and destroying a condition variable with a waiter hangs.
PlatformMailbox& mailbox()
{
    static PlatformMailbox* const box = new PlatformMailbox;
    return *box;
}

bool stopRequested()
{
    PlatformMailbox& box = mailbox();
    const std::lock_guard lock(box.lock);
    return box.stopRequested;
}

void answer(const ScreenInfo& desktop, bool windowOpened)
{
    PlatformMailbox& box = mailbox();
    const std::lock_guard lock(box.lock);
    box.request = PlatformRequest::none;
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

// The window, and the frame buffer converted to XRGB8888 pixels on its way
// there (SDL copies those into whatever format the window surface has).
struct RefreshTarget {
    SDL_Window* window = nullptr;
    SDL_Surface* converted = nullptr;
    SDL_Surface* shownOn = nullptr;  // the window surface of the last pass
    uint32_t xrgb[paletteSize] = {}; // the palette as loaded into the window
};

// Creates the window with the screen's size and title; on success also
// records what screenInfo reports and resets the input state.
bool createWindow(RefreshTarget& target)
{
    const std::lock_guard screen(screenLock);
    target.window = SDL_CreateWindow(windowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, screenWidthPixels,
                                     screenHeightPixels, SDL_WINDOW_SHOWN);
    if (target.window == nullptr) {
        return false;
    }
    target.converted = SDL_CreateRGBSurfaceWithFormat(0, screenWidthPixels, screenHeightPixels, 32,
                                                      SDL_PIXELFORMAT_RGB888);
    if (target.converted == nullptr || SDL_GetWindowSurface(target.window) == nullptr) {
        SDL_FreeSurface(target.converted);
        SDL_DestroyWindow(target.window);
        return false;
    }
    titleChanged = false;
    SDL_DisplayMode mode;
    screenRefreshRate =
        SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(target.window), &mode) == 0 ? mode.refresh_rate : 0;
    const char* driver = SDL_GetCurrentVideoDriver();
    std::strncpy(screenDriverName, driver != nullptr ? driver : "", driverNameCapacity - 1);
    resetInputState(target.window);
    return true;
}

// Converts the rows through the palette and shows them in the window.
void showRows(RefreshTarget& target, SDL_Surface* surface, RowSpan rows)
{
    const int32_t count = rows.last - rows.first + 1;
    auto* converted = static_cast<uint8_t*>(target.converted->pixels);
    convertRows(screenPixels + static_cast<ptrdiff_t>(rows.first) * screenWidthPixels, screenWidthPixels, count,
                target.xrgb, converted + static_cast<ptrdiff_t>(rows.first) * target.converted->pitch,
                target.converted->pitch);
    const SDL_Rect area{0, rows.first, screenWidthPixels, count};
    SDL_Rect destination = area;
    SDL_BlitSurface(target.converted, &area, surface, &destination);
    SDL_UpdateWindowSurfaceRects(target.window, &area, 1);
}

// One refresh pass, whole under screenLock: title and palette changes, the
// waiting window events, the mouse requests, then the changed rows (or the
// whole frame after a palette change or a repaint request).
void refreshPass(RefreshTarget& target)
{
    const std::lock_guard screen(screenLock);
    if (titleChanged) {
        SDL_SetWindowTitle(target.window, windowTitle);
        titleChanged = false;
    }
    bool wholeFrame = false;
    if (paletteChanged) {
        paletteToXrgb(screenPalette, target.xrgb);
        paletteChanged = false;
        wholeFrame = true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        wholeFrame = wholeFrame || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED);
        handleWindowEvent(event, target.window);
    }
    applyMouseRequests(target.window);
    // A window surface that is new (the first, or one the system remade)
    // holds nothing yet.
    SDL_Surface* surface = SDL_GetWindowSurface(target.window);
    wholeFrame = wholeFrame || surface != target.shownOn;
    target.shownOn = surface;
    RowSpan rows = takeDirtyRows();
    if (wholeFrame) {
        rows = {0, screenHeightPixels - 1};
    }
    if (surface != nullptr && !isEmpty(rows)) {
        showRows(target, surface, rows);
    }
}

void refreshUntilStopped(RefreshTarget& target)
{
    while (!stopRequested()) {
        refreshPass(target);
        std::this_thread::sleep_for(refreshInterval);
    }
    SDL_FreeSurface(target.converted);
    SDL_DestroyWindow(target.window);
}

// Answers requests until the process exits: desktop queries while there is
// no window, then the window's refresh passes.
void serveRequests(PlatformMailbox& box)
{
    for (;;) {
        PlatformRequest request = PlatformRequest::none;
        {
            std::unique_lock lock(box.lock);
            box.changed.wait(lock, [&box] { return box.stopRequested || box.request != PlatformRequest::none; });
            if (box.stopRequested) {
                return;
            }
            request = box.request;
        }
        if (request == PlatformRequest::desktopInfo) {
            answer(desktopInfo(), false);
            continue;
        }
        RefreshTarget target;
        const bool opened = createWindow(target);
        answer({}, opened);
        if (opened) {
            refreshUntilStopped(target);
            return;
        }
    }
}

// Without a display the thread ends at once, and every later request is
// answered as failed without it.
void platformThread()
{
    // SIGINT and SIGTERM stay the program's own business, and the screen
    // saver stays off while the window is open (SDL restores it at quit).
    // The window surface is plain memory copied by the windowing system: an
    // accelerated one would recreate the window behind a 3D renderer. On
    // Windows, Alt+F4 is a key like any other, not a close request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_WINDOWS_NO_CLOSE_ON_ALT_F4, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    PlatformMailbox& box = mailbox();
    if (SDL_Init(SDL_INIT_VIDEO) == 0) {
        serveRequests(box);
    }
    // Gives the screen saver back and lets go of the windowing system.
    SDL_Quit();
    const std::lock_guard lock(box.lock);
    box.stopped = true;
    box.changed.notify_all();
}

// At process exit: lets the platform thread close the window and shut SDL
// down before anything it uses goes away. Does not wait for itself when the
// exit happens on the platform thread.
void stopPlatformThread()
{
    PlatformMailbox& box = mailbox();
    std::unique_lock lock(box.lock);
    if (std::this_thread::get_id() == box.threadId) {
        return;
    }
    box.stopRequested = true;
    box.changed.notify_all();
    box.changed.wait_for(lock, stopDeadline, [&box] { return box.stopped; });
}

void startPlatformThread()
{
    PlatformMailbox& box = mailbox();
    const std::lock_guard lock(box.lock);
    if (box.started) {
        return;
    }
    box.started = true;
    std::thread thread(platformThread);
    box.threadId = thread.get_id();
    thread.detach();
}

// Hands the request to the platform thread and waits for its answer; false
// when the thread has stopped (no display, or the process is exiting).
bool ask(PlatformRequest request, ScreenInfo& desktop, bool& windowOpened)
{
    startPlatformThread();
    PlatformMailbox& box = mailbox();
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
    return ask(PlatformRequest::desktopInfo, desktop, windowOpened) ? desktop : ScreenInfo{};
}

bool platformOpenWindow()
{
    // Registered with the first window rather than with the thread, so that
    // at exit the window goes before anything its opener set up earlier
    // (such as the display server itself). An idle thread makes no calls.
    {
        PlatformMailbox& box = mailbox();
        const std::lock_guard lock(box.lock);
        if (!box.stopsAtExit) {
            box.stopsAtExit = true;
            std::atexit(stopPlatformThread);
        }
    }
    ScreenInfo desktop;
    bool windowOpened = false;
    return ask(PlatformRequest::openWindow, desktop, windowOpened) && windowOpened;
}
