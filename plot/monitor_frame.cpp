#include "plot/monitor_frame.h"

#include <atomic>
#include <csignal>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "plot/input.h"
#include "plot/screen.h"

namespace {

// Set by the signal handler, read by the main thread at each frame end. A
// lock-free atomic is safe to store from a signal handler; relaxed is enough
// because nothing else is published with it.
std::atomic<bool> terminationRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

#ifdef _WIN32

// Windows allows a process this long to finish once its console is closed.
constexpr DWORD consoleCloseGraceMs = 5000;

// Runs on a thread that the console starts for each event. After a close
// event Windows ends the process as soon as the handler returns, so it waits
// while the main thread goes through the exit sequence: the end of the
// process ends this wait too.
BOOL WINAPI handleConsoleControl(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: terminationRequested.store(true, std::memory_order_relaxed); return TRUE;
    case CTRL_CLOSE_EVENT:
        terminationRequested.store(true, std::memory_order_relaxed);
        Sleep(consoleCloseGraceMs);
        return TRUE;
    default: return FALSE;
    }
}

// The console's Ctrl-C, Ctrl-Break and close button are what a terminal's
// Ctrl-C and a kill are on Linux.
void catchTerminationSignals()
{
    SetConsoleCtrlHandler(handleConsoleControl, TRUE);
}

#else

void requestTermination(int)
{
    terminationRequested.store(true, std::memory_order_relaxed);
}

void catchTerminationSignals()
{
    struct sigaction action {};
    action.sa_handler = requestTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

#endif

constexpr int exitKeyEscape = 27;
constexpr int exitKeyCtrlC = 3;
constexpr int framePauseMs = 100;

} // namespace

void openMonitorWindow()
{
    catchTerminationSignals();
    setWindowTitle(monitorTitle);
    openScreen(1025, 401, 8, 1, 0, 0);
}

bool frameEndsMonitor()
{
    const std::string key = pollKey();
    const int code = key.empty() ? 0 : static_cast<unsigned char>(key[0]);
    if (code == exitKeyEscape || code == exitKeyCtrlC || terminationRequested.load(std::memory_order_relaxed)) {
        return true;
    }
    sleepMs(framePauseMs);
    return false;
}
