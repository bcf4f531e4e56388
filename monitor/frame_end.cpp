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

bool frameEndsLoop(int& code)
{
    tellInputChanges();
    if (screenLost()) {
        tellUser(std::string("lost the connection to the display; writing ") + monitorDumpPath + " and ending");
        return true;
    }
    // Keys beyond the character codes come as two bytes and act on nothing.
    const std::string key = pollKey();
    code = key.size() == 1 ? static_cast<unsigned char>(key[0]) : 0;
    return code == exitKeyEscape || code == exitKeyCtrlC || terminationRequested();
}

} // namespace

bool frameEndsMonitor(const MonitorOptions& options, InstrumentState& instrument)
{
    int key = 0;
    if (frameEndsLoop(key)) {
        beginExitSequence();
        return true;
    }
    applyInstrumentKey(key, options, instrument);
    sleepMs(framePauseMs);
    return false;
}
