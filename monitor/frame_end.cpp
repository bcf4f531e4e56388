#include "monitor/frame_end.h"

#include <string>

#include "capture/capture_stream.h"
#include "monitor/input_reports.h"
#include "monitor/monitor_exit.h"
#include "monitor/number_output.h"
#include "monitor/termination.h"
#include "monitor/user_notice.h"
#include "plot/input.h"
#include "plot/screen.h"

namespace {

constexpr int exitKeyEscape = 27;
constexpr int exitKeyCtrlC = 3;
constexpr int framePauseMs = 100;

// Frames counted so far, for --frames.
int64_t framesCounted = 0;

bool frameEndsLoop(const MonitorOptions& options, std::span<const float> shown, int& code)
{
    tellInputChanges();
    if (captureSettled()) {
        ++framesCounted;
        printFrameNumbers(options, shown.data(), static_cast<int64_t>(shown.size()));
    }
    if (screenLost()) {
        tellUser("lost the connection to the display; writing " + dumpTarget(options) + " and ending");
        return true;
    }
    // Keys beyond the character codes come as two bytes and act on nothing.
    const std::string key = pollKey();
    code = key.size() == 1 ? static_cast<unsigned char>(key[0]) : 0;
    return code == exitKeyEscape || code == exitKeyCtrlC || terminationRequested() ||
           (options.frames > 0 && framesCounted >= options.frames);
}

} // namespace

bool frameEndsMonitor(const MonitorOptions& options, InstrumentState& instrument, std::span<const float> shown)
{
    int key = 0;
    if (frameEndsLoop(options, shown, key)) {
        beginExitSequence();
        return true;
    }
    applyInstrumentKey(key, options, instrument);
    sleepMs(framePauseMs);
    return false;
}
