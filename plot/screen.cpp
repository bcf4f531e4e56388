#include "plot/screen.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "plot/logic/font8x8.h"
#include "plot/platform/program_path.h"
#include "plot/platform/screen_platform.h"
#include "plot/state/screen_state.h"

namespace {

bool validScreenArguments(int32_t width, int32_t height, int32_t depth)
{
    constexpr int32_t depths[] = {1, 2, 4, 8, 15, 16, 24, 32};
    return width > 0 && height > 0 && std::find(std::begin(depths), std::end(depths), depth) != std::end(depths);
}

} // namespace

void setWindowTitle(std::string_view text)
{
    const std::lock_guard services(servicesLock);
    bool wake = false;
    {
        const std::lock_guard screen(screenLock);
        keepTitle(text, windowTitle);
        titleWasSet = true;
        titleChanged = true;
        wake = askForRefresh();
    }
    if (wake) {
        wakeRefreshThread();
    }
}

// Pages, flags and refresh rate ask for what the programs never use (more
// pages, full screen, a mode change): every valid request opens one 8-bit
// page in an ordinary window at the display's own rate.
int32_t openScreen(int32_t width, int32_t height, int32_t depth, int32_t, int32_t, int32_t)
{
    const std::lock_guard services(servicesLock);
    if (screenIsOpen || !validScreenArguments(width, height, depth)) {
        return 1;
    }
    // calloc leaves the zero pages untouched, so an absurd size fails at the
    // window rather than by filling memory.
    screenPixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(width) * static_cast<size_t>(height), 1));
    dirtyRows = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(height), 1));
    if (screenPixels != nullptr && dirtyRows != nullptr) {
        {
            const std::lock_guard screen(screenLock);
            setDefaultPalette(screenPalette);
            paletteChanged = true;
            if (!titleWasSet) {
                keepTitle(programTitle(programPath()), windowTitle);
            }
        }
        screenWidthPixels = width;
        screenHeightPixels = height;
        if (platformOpenWindow()) {
            screenIsOpen = true;
            return 0;
        }
    }
    std::free(screenPixels);
    std::free(dirtyRows);
    screenPixels = nullptr;
    dirtyRows = nullptr;
    screenWidthPixels = 0;
    screenHeightPixels = 0;
    return 1;
}

std::string screenOpenProblem()
{
    return platformProblem();
}

ScreenInfo screenInfo()
{
    const std::lock_guard services(servicesLock);
    if (!screenIsOpen) {
        return platformDesktopInfo();
    }
    ScreenInfo info;
    info.width = screenWidthPixels;
    info.height = screenHeightPixels;
    info.depth = 8;
    info.bytesPerPixel = 1;
    info.pitch = screenWidthPixels;
    info.refreshRate = screenRefreshRate;
    std::memcpy(info.driver, screenDriverName, sizeof info.driver);
    return info;
}

bool screenLost()
{
    return displayLost.load();
}

void drawLine(float x1, float y1, float x2, float y2, uint32_t colour, int32_t shape, uint16_t style)
{
    const std::lock_guard services(servicesLock);
    if (!screenIsOpen) {
        return;
    }
    const auto index = static_cast<uint8_t>(colour);
    bool wake = false;
    {
        const std::lock_guard screen(screenLock);
        RowSpan touched;
        switch (shape) {
        case shapeLine: touched = rasterLine(screenView(), x1, y1, x2, y2, index, style); break;
        case shapeBox: touched = rasterBox(screenView(), x1, y1, x2, y2, index, style); break;
        case shapeFilledBox: touched = rasterFilledBox(screenView(), x1, y1, x2, y2, index); break;
        default: break;
        }
        wake = markDirtyRows(touched);
    }
    if (wake) {
        wakeRefreshThread();
    }
}

void drawText(float x, float y, std::string_view text, uint32_t colour)
{
    const std::lock_guard services(servicesLock);
    if (!screenIsOpen) {
        return;
    }
    bool wake = false;
    {
        const std::lock_guard screen(screenLock);
        wake = markDirtyRows(rasterText(screenView(), x, y, text, static_cast<uint8_t>(colour), fontGlyphs));
    }
    if (wake) {
        wakeRefreshThread();
    }
}
