#include "monitor/termination.h"

#include <atomic>
#include <csignal>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Set by the handlers, read by the main thread at each frame end. A lock-free
// atomic is safe to store from a signal handler; relaxed is enough because
// nothing else is published with it.
std::atomic<bool> terminationRequest{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// Records the request; true when one had come before.
bool recordRequest()
{
    return terminationRequest.exchange(true, std::memory_order_relaxed);
}

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
    // Declining a second one leaves it to the default handler, which ends
    // the process.
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: return recordRequest() ? FALSE : TRUE;
    case CTRL_CLOSE_EVENT:
        recordRequest();
        Sleep(consoleCloseGraceMs);
        return TRUE;
    default: return FALSE;
    }
}

#else

// Async-signal-safe: a lock-free exchange, then for a second signal the
// default action, which takes effect as the handler returns.
void handleSignal(int signal)
{
    if (recordRequest()) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

#endif

} // namespace

void catchTerminationRequests()
{
#ifdef _WIN32
    SetConsoleCtrlHandler(handleConsoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    // A file-size limit then makes a write of the dump fail, to be reported
    // like a full disk, rather than kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

bool terminationRequested()
{
    return terminationRequest.load(std::memory_order_relaxed);
}

void requestTermination()
{
    recordRequest();
}
