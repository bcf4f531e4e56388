// The refresh thread on SDL: every SDL call of the window services happens
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
#include <string>
#include <system_error>
#include <thread>

#include "plot/logic/frame_convert.h"
#include "plot/platform/input_platform.h"
#include "plot/platform/screen_platform.h"
#include "plot/state/screen_state.h"

#ifndef _WIN32
#include <X11/Xlib.h>
#endif

namespace {

constexpr auto refreshInterval = std::chrono::milliseconds(10);

// How long process exit waits for the refresh thread to close the window
// before it goes on regardless.
constexpr auto stopDeadline = std::chrono::seconds(2);

enum class RefreshRequest { none, desktopInfo, openWindow };

// The hand-over between the service calls (one at a time, under
// servicesLock), the exit handler and the refresh thread.
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
    bool stopped = false;
    std::string problem; // why no window opened, for the user
};

// Never destroyed: the refresh thread may still be waiting on it while the
// process exits, and destroying a condition variable with a waiter hangs.
RefreshMailbox& mailbox()
{
    static RefreshMailbox* const box = new RefreshMailbox;
    return *box;
}

bool stopRequested()
{
    RefreshMailbox& box = mailbox();
    const std::lock_guard lock(box.lock);
    return box.stopRequested;
}

void answer(const ScreenInfo& desktop, bool windowOpened)
{
    RefreshMailbox& box = mailbox();
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

// Whether the refresh thread holds screenLock (in a refresh pass or while it
// creates the window). Refresh thread only.
bool refreshHoldsScreenLock = false;

// screenLock taken by the refresh thread, noted in refreshHoldsScreenLock.
struct RefreshScreenLock {
    RefreshScreenLock()
    {
        screenLock.lock();
        refreshHoldsScreenLock = true;
    }
    ~RefreshScreenLock()
    {
        refreshHoldsScreenLock = false;
        screenLock.unlock();
    }
    RefreshScreenLock(const RefreshScreenLock&) = delete;
    RefreshScreenLock& operator=(const RefreshScreenLock&) = delete;
};

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
    RefreshMailbox& box = mailbox();
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

// On X11 the loss of the display is met by handleDisplayLoss rather than by
// Xlib's exit: from before the first connection, so that a display that goes
// away while SDL starts is met too, and once more when the window exists, in
// case SDL's own set-up put another handler in its place. Only Xlib calls it,
// so it does nothing on other platforms.
void catchDisplayLoss()
{
#ifndef _WIN32
    XSetIOErrorHandler(handleDisplayLoss);
#endif
}

// The window and what the refresh thread keeps to bring it up to date.
struct RefreshTarget {
    SDL_Window* window = nullptr;
    SDL_Surface* shownOn = nullptr;     // the window surface of the last pass
    uint8_t* shownRows = nullptr;       // the frame buffer as the window shows it
    uint32_t pixelOf[paletteSize] = {}; // the palette as pixels of the surface converted into
    SDL_Surface* converted = nullptr;   // XRGB8888 rows for a window surface of another format
};

// Creates the window with the screen's size and title; on success also
// records what screenInfo reports and resets the input state.
bool createWindow(RefreshTarget& target)
{
    const RefreshScreenLock screen;
    target.window = SDL_CreateWindow(windowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, screenWidthPixels,
                                     screenHeightPixels, SDL_WINDOW_SHOWN);
    if (target.window == nullptr) {
        return false;
    }
    target.shownRows = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(screenWidthPixels) * screenHeightPixels));
    if (target.shownRows == nullptr || SDL_GetWindowSurface(target.window) == nullptr) {
        std::free(target.shownRows);
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
    catchDisplayLoss();
    return true;
}

// Whether the rows can be converted straight into the surface's pixels: it
// holds the whole frame as 32-bit pixels with red, green and blue where
// paletteToXrgb puts them.
bool takesXrgbRows(const SDL_Surface* surface)
{
    const uint32_t format = surface->format->format;
    return (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888) &&
           surface->w >= screenWidthPixels && surface->h >= screenHeightPixels;
}

// Shows the rows of span that differ from what the window shows (all of them
// when everyRow, which a new palette or a new window surface needs): they are
// converted through the palette straight into the window surface, or, for a
// surface of another format, into XRGB8888 rows that SDL blits into it. False
// when nothing could be shown.
bool showChangedRows(RefreshTarget& target, SDL_Surface* surface, RowSpan span, bool everyRow)
{
    const bool straight = takesXrgbRows(surface);
    if (!straight && target.converted == nullptr) {
        target.converted =
            SDL_CreateRGBSurfaceWithFormat(0, screenWidthPixels, screenHeightPixels, 32, SDL_PIXELFORMAT_RGB888);
    }
    SDL_Surface* into = straight ? surface : target.converted;
    if (into == nullptr || (SDL_MUSTLOCK(into) && SDL_LockSurface(into) != 0)) {
        return false;
    }
    if (everyRow) {
        // Opaque where the surface has alpha.
        paletteToXrgb(screenPalette, target.pixelOf);
        for (uint32_t& pixel : target.pixelOf) {
            pixel |= into->format->Amask;
        }
    }
    const RowRuns changed = takeChangedRows(screenPixels, target.shownRows, screenWidthPixels, span, everyRow);
    SDL_Rect areas[maxRowRuns];
    for (int32_t i = 0; i < changed.count; ++i) {
        const RowSpan run = changed.runs[i];
        const int32_t count = run.last - run.first + 1;
        uint8_t* pixels = static_cast<uint8_t*>(into->pixels) + static_cast<ptrdiff_t>(run.first) * into->pitch;
        convertRows(screenPixels + static_cast<ptrdiff_t>(run.first) * screenWidthPixels, screenWidthPixels, count,
                    target.pixelOf, pixels, into->pitch);
        areas[i] = {0, run.first, screenWidthPixels, count};
    }
    if (SDL_MUSTLOCK(into)) {
        SDL_UnlockSurface(into);
    }
    for (int32_t i = 0; !straight && i < changed.count; ++i) {
        SDL_Rect destination = areas[i];
        SDL_BlitSurface(target.converted, &areas[i], surface, &destination);
    }
    if (changed.count > 0) {
        SDL_UpdateWindowSurfaceRects(target.window, areas, changed.count);
    }
    return true;
}

// One refresh pass, whole under screenLock: title and palette changes, the
// waiting window events, the mouse requests, then the changed rows (or the
// whole frame after a palette change, a repaint request or on a new window
// surface).
void refreshPass(RefreshTarget& target)
{
    const RefreshScreenLock screen;
    if (titleChanged) {
        SDL_SetWindowTitle(target.window, windowTitle);
        titleChanged = false;
    }
    bool wholeFrame = paletteChanged;
    paletteChanged = false;
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
    RowSpan rows = takeDirtyRows();
    if (wholeFrame) {
        rows = {0, screenHeightPixels - 1};
    }
    // A surface that could not be shown on gets the whole frame next time.
    const bool shown = surface != nullptr && (isEmpty(rows) || showChangedRows(target, surface, rows, wholeFrame));
    target.shownOn = shown ? surface : nullptr;
}

void refreshUntilStopped(RefreshTarget& target)
{
    while (!stopRequested()) {
        refreshPass(target);
        std::this_thread::sleep_for(refreshInterval);
    }
    SDL_FreeSurface(target.converted);
    std::free(target.shownRows);
    SDL_DestroyWindow(target.window);
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
    // SIGINT and SIGTERM stay the program's own business, and the screen
    // saver stays off while the window is open (SDL restores it at quit).
    // The window surface is plain memory copied by the windowing system: an
    // accelerated one would recreate the window behind a 3D renderer. On
    // Windows, Alt+F4 is a key like any other, not a close request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_WINDOWS_NO_CLOSE_ON_ALT_F4, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    RefreshMailbox& box = mailbox();
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
    RefreshMailbox& box = mailbox();
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
    RefreshMailbox& box = mailbox();
    const std::lock_guard lock(box.lock);
    if (box.started) {
        return;
    }
    box.started = true;
    // Without the thread there is no window: the refresh thread counts as stopped,
    // and every request fails at once.
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
    RefreshMailbox& box = mailbox();
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
    RefreshMailbox& box = mailbox();
    const std::lock_guard lock(box.lock);
    return box.problem;
}

bool platformOpenWindow()
{
    // Registered with the first window rather than with the thread, so that
    // at exit the window goes before anything its opener set up earlier
    // (such as the display server itself). An idle thread makes no calls.
    {
        RefreshMailbox& box = mailbox();
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
