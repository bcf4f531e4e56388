#include "plot/state/screen_state.h"

#include <cstring>

std::mutex servicesLock;
std::mutex screenLock;
std::atomic<bool> screenIsOpen{false};
std::atomic<bool> displayLost{false};
int32_t screenWidthPixels = 0;
int32_t screenHeightPixels = 0;
uint8_t* screenPixels = nullptr;
uint8_t* dirtyRows = nullptr;
PaletteEntry screenPalette[paletteSize];
bool paletteChanged = false;
char windowTitle[windowTitleCapacity] = {};
bool titleChanged = false;
bool titleWasSet = false;
bool refreshAsked = false;
int64_t screenRefreshRate = 0;
char screenDriverName[driverNameCapacity] = {};

RasterView screenView()
{
    return {screenPixels, screenWidthPixels, screenHeightPixels};
}

bool askForRefresh()
{
    const bool first = !refreshAsked;
    refreshAsked = true;
    return first;
}

bool markDirtyRows(RowSpan span)
{
    if (isEmpty(span)) {
        return false;
    }
    std::memset(dirtyRows + span.first, 1, static_cast<size_t>(span.last - span.first + 1));
    return askForRefresh();
}

RowSpan takeDirtyRows()
{
    RowSpan span;
    for (int32_t row = 0; row < screenHeightPixels; ++row) {
        if (dirtyRows[row] != 0) {
            span = joinSpans(span, {row, row});
        }
    }
    if (!isEmpty(span)) {
        std::memset(dirtyRows + span.first, 0, static_cast<size_t>(span.last - span.first + 1));
    }
    return span;
}
