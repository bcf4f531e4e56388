#include "monitor/frame_end.h"

#include <string>

#include "monitor/input_reports.h"
#include "monitor/monitor_exit.h"
#include "monitor/termination.h"
#include "monitor/user_notice.h"
#include "plot/input.h"
#include "plot/screen.h"

namespace {

constexpr int exitKeyEscape = 27;
constexpr int exitKeyCtrlC = 3;
constexpr int framePauseMs = 100;

bool frameEndsLoop()
{
    tellInputChanges();
    if (screenLost()) {
        tellUser(std::string("lost the connection to the display; writing ") + monitorDumpPath + " and ending");
        return true;
    }
    const std::string key = pollKey();
    const int code = key.empty() ? 0 : static_cast<unsigned char>(key[0]);
    return code == exitKeyEscape || code == exitKeyCtrlC || terminationRequested();
}

} // namespace

bool frameEndsMonitor()
{
    if (frameEndsLoop()) {
        beginExitSequence();
        return true;
    }
    sleepMs(framePauseMs);
    return false;
}
