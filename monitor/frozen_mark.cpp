#include "monitor/frozen_mark.h"

#include <string_view>

#include "monitor/monitor_window.h"

void drawFrozenMark()
{
    constexpr std::string_view mark = "frozen";
    drawTextRow(topRowTop, monitorWidth - textWidth(mark), mark);
}
