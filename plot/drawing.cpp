// drawLine and drawText: the rasteriser applied to the open screen's frame
// buffer under the services' locks, with the touched rows marked for the
// refresh.
#include "plot/font8x8.h"
#include "plot/screen.h"
#include "plot/screen_state.h"

void drawLine(float x1, float y1, float x2, float y2, uint32_t colour, int32_t shape, uint16_t style)
{
    const std::lock_guard services(servicesLock);
    if (!screenIsOpen) {
        return;
    }
    const auto index = static_cast<uint8_t>(colour);
    const std::lock_guard screen(screenLock);
    RowSpan touched;
    switch (shape) {
    case shapeLine: touched = rasterLine(screenView(), x1, y1, x2, y2, index, style); break;
    case shapeBox: touched = rasterBox(screenView(), x1, y1, x2, y2, index, style); break;
    case shapeFilledBox: touched = rasterFilledBox(screenView(), x1, y1, x2, y2, index); break;
    default: break;
    }
    markDirtyRows(touched);
}

void drawText(float x, float y, std::string_view text, uint32_t colour)
{
    const std::lock_guard services(servicesLock);
    if (!screenIsOpen) {
        return;
    }
    const std::lock_guard screen(screenLock);
    markDirtyRows(rasterText(screenView(), x, y, text, static_cast<uint8_t>(colour), fontGlyphs));
}
