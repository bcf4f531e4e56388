#include "monitor/monitor_exit.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "monitor/user_notice.h"
#include "plot/screen.h"

int monitorExitStatus(std::error_code dumpError)
{
    if (dumpError) {
        tellUser(std::string(monitorDumpPath) + " not written: " + dumpError.message());
        return 1;
    }
    return screenLost() ? 1 : 0;
}

int finishExit(bool captureStopped, int status)
{
    if (!captureStopped) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
