#include "monitor/monitor_exit.h"

#include <cstdio>
#include <cstdlib>

#include "guard/output_writer.h"
#include "monitor/exit_status.h"
#include "monitor/number_output.h"
#include "monitor/user_notice.h"
#include "plot/screen.h"

int exitStatusFor(bool delivered, bool displayLost)
{
    return delivered && !displayLost ? exitDelivered : exitLost;
}

int monitorExitStatus(const std::string& dumpProblem)
{
    if (!dumpProblem.empty()) {
        tellUser(dumpProblem);
    }
    return exitStatusFor(dumpProblem.empty() && !numbersLost(), screenLost());
}

int finishExit(bool captureStopped, int status)
{
    if (!stopOutputWriter() || !captureStopped) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
