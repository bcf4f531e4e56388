#include "monitor/frame_end.h"

#include <chrono>
#include <string>

#include "monitor/dump_destination.h"
#include "monitor/input_reports.h"
#include "monitor/number_output.h"
#include "monitor/termination.h"
#include "monitor/user_notice.h"
#include "plot/controls.h"
#include "plot/screen.h"

namespace {

constexpr int framePauseMs = 100;
// How often a frame whose line waits for the reader looks at the keys.
constexpr std::chrono::milliseconds outputLook{50};

// Whether the monitor is to end now, for a lost display, a key or a
// request; a key that does not end it acts on the instrument.
bool endAsked(const MonitorOptions& options, FrameLoop& loop)
{
    if (screenLost()) {
        tellUser("lost the connection to the display; writing " + dumpTarget(options) + " and ending");
        return true;
    }
    // Keys beyond the character codes come as two bytes and act on nothing.
    const std::string key = pollKey();
    const int code = key.size() == 1 ? static_cast<unsigned char>(key[0]) : 0;
    if (code == escapeKeyCode || code == ctrlCKeyCode || terminationRequested()) {
        return true;
    }
    applyInstrumentKey(code, options, loop.instrument);
    return false;
}

} // namespace

bool frameEndsMonitor(const MonitorOptions& options, FrameLoop& loop, std::span<const float> shown)
{
    tellInputChanges();
    if (loop.holdsInput) {
        ++loop.framesCounted;
        printFrameNumbers(options, shown, loop.measured, loop.printLine);
    }
    bool ends = endAsked(options, loop);
    while (!ends && !numbersDelivered(outputLook)) {
        ends = endAsked(options, loop);
    }
    // A request that came with the output's end.
    ends = ends || terminationRequested() || (options.frames > 0 && loop.framesCounted >= options.frames);
    if (ends) {
        requestTermination();
        return true;
    }
    sleepMs(framePauseMs);
    return false;
}
