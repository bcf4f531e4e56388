#include "plot/monitor_frame.h"

#include <atomic>
#include <csignal>
#include <string>

#include "plot/input.h"
#include "plot/screen.h"

namespace {

// Set by the signal handler, read by the main thread at each frame end. A
// lock-free atomic is safe to store from a signal handler; relaxed is enough
// because nothing else is published with it.
std::atomic<bool> terminationRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void requestTermination(int) { terminationRequested.store(true, std::memory_order_relaxed); }

void catchTerminationSignals() {
    struct sigaction action {};
    action.sa_handler = requestTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

constexpr int exitKeyEscape = 27;
constexpr int exitKeyCtrlC = 3;
constexpr int framePauseMs = 100;

}  // namespace

void openMonitorWindow() {
    catchTerminationSignals();
    setWindowTitle(monitorTitle);
    openScreen(1025, 401, 8, 1, 0, 0);
}

bool frameEndsMonitor() {
    const std::string key = pollKey();
    const int code = key.empty() ? 0 : static_cast<unsigned char>(key[0]);
    if (code == exitKeyEscape || code == exitKeyCtrlC || terminationRequested.load(std::memory_order_relaxed)) {
        return true;
    }
    sleepMs(framePauseMs);
    return false;
}
