#include "monitor/monitor_exit.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "dump/dump_writer.h"
#include "monitor/user_notice.h"
#include "plot/screen.h"

int exitStatusFor(bool dumpWritten, bool displayLost)
{
    return dumpWritten && !displayLost ? 0 : 1;
}

namespace {

bool toStandardOutput(const MonitorOptions& options)
{
    return options.out == standardOutputPath;
}

} // namespace

std::string dumpTarget(const MonitorOptions& options)
{
    return toStandardOutput(options) ? "standard output" : options.out.empty() ? monitorDumpPath : options.out;
}

std::error_code writeDump(const MonitorOptions& options, const float* values, int64_t count)
{
    if (toStandardOutput(options)) {
        return dumpValuesToStandardOutput(values, count);
    }
    return dumpValues(options.out.empty() ? monitorDumpPath : options.out.c_str(), values, count);
}

int monitorExitStatus(const MonitorOptions& options, std::error_code dumpError)
{
    if (toStandardOutput(options) && dumpError == std::errc::broken_pipe) {
        dumpError.clear();
    }
    if (dumpError) {
        tellUser(dumpTarget(options) + " not written: " + dumpError.message());
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
