#include "monitor/monitor_window.h"

#include "guard/library_messages.h"
#include "monitor/number_output.h"
#include "monitor/termination.h"
#include "monitor/user_notice.h"
#include "plot/plot_helpers.h"
#include "plot/screen.h"

void openMonitorWindow(const MonitorOptions& options)
{
    // Before the window platform starts: it has its own complaints about the
    // session.
    quietLibraryMessages();
    catchTerminationRequests();
    prepareNumberOutput(options);
    if (options.noWindow) {
        return;
    }
    setWindowTitle(monitorTitle);
    // A display lost while the window opened is told at the first frame's
    // end, which then ends the monitor.
    if (openScreen(monitorWidth, monitorHeight, 8, 1, 0, 0) != 0 && !screenLost()) {
        tellUser(screenOpenProblem() + "; running without a window, Ctrl-C ends it");
    }
}

void clearMonitorWindow()
{
    plotFilledBox(0, 0, monitorWidth, monitorHeight, backgroundColour);
}

int64_t textWidth(std::string_view text)
{
    return glyphSize * static_cast<int64_t>(text.size());
}

void drawTextRow(int64_t top, int64_t x, std::string_view text, int64_t colour)
{
    const int64_t bottom = monitorHeight - top - glyphSize;
    plotFilledBox(x, bottom, x + textWidth(text) - 1, bottom + glyphSize - 1, backgroundColour);
    plotText(x, bottom, text, colour);
}
