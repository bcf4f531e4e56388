#include "monitor/monitor_exit.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "monitor/user_notice.h"
#include "plot/screen.h"

int exitStatusFor(bool dumpWritten, bool displayLost)
{
    return dumpWritten && !displayLost ? 0 : 1;
}

int monitorExitStatus(std::error_code dumpError)
{
    if (dumpError) {
        tellUser(std::string(monitorDumpPath) + " not written: " + dumpError.message());
    }
    return exitStatusFor(!dumpError, screenLost());
}

int finishExit(bool captureStopped, int status)
{
    if (!captureStopped) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
