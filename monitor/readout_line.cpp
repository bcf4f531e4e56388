#include "monitor/readout_line.h"

#include "monitor/monitor_window.h"

void drawReadout(std::string_view text)
{
    if (!text.empty()) {
        drawTextRow(topRowTop, 0, text);
    }
}
