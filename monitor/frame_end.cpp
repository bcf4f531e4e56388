#include "monitor/frame_end.h"

#include <string>

#include "monitor/termination.h"
#include "plot/input.h"

namespace {

constexpr int exitKeyEscape = 27;
constexpr int exitKeyCtrlC = 3;
constexpr int framePauseMs = 100;

} // namespace

bool frameEndsMonitor()
{
    const std::string key = pollKey();
    const int code = key.empty() ? 0 : static_cast<unsigned char>(key[0]);
    if (code == exitKeyEscape || code == exitKeyCtrlC || terminationRequested()) {
        return true;
    }
    sleepMs(framePauseMs);
    return false;
}
