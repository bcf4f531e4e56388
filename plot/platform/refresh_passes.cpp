#include "plot/platform/refresh_passes.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "plot/logic/frame_convert.h"
#include "plot/platform/controls_platform.h"
#include "plot/platform/display_loss.h"
#include "plot/platform/refresh_mailbox.h"
#include "plot/state/screen_state.h"

namespace {

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
    refreshAsked = false;
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

} // namespace

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
    resetControlsState(target.window);
    catchDisplayLoss();
    return true;
}

void refreshUntilStopped(RefreshTarget& target)
{
    do {
        refreshPass(target);
    } while (awaitRefreshWork());
    SDL_FreeSurface(target.converted);
    std::free(target.shownRows);
    SDL_DestroyWindow(target.window);
}
