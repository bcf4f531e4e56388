#include "monitor/monitor_window.h"

#include "capture/library_messages.h"
#include "monitor/termination.h"
#include "plot/plot_helpers.h"
#include "plot/screen.h"

void openMonitorWindow()
{
    // Before the window platform starts: it has its own complaints about the
    // session.
    quietLibraryMessages();
    catchTerminationRequests();
    setWindowTitle(monitorTitle);
    openScreen(monitorWidth, monitorHeight, 8, 1, 0, 0);
}

void clearMonitorWindow()
{
    plotFilledBox(0, 0, monitorWidth, monitorHeight, backgroundColour);
}
