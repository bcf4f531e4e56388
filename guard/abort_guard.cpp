#include "guard/abort_guard.h"

#ifdef _WIN32

// The Windows back-ends have no such assertion to survive.
bool survivesAbort(const std::function<void()>& work)
{
    work();
    return true;
}

#else

#include <csetjmp>
#include <csignal>
#include <mutex>

namespace {

// Where an abort on this thread lands while a guarded call runs; null
// outside one.
thread_local sigjmp_buf* abortLanding = nullptr;

// A guarded thread goes back to its survivesAbort, which restores the signal
// mask the call began with; any other takes the default action, as if no
// handler were there.
void landAbort(int signal)
{
    if (abortLanding != nullptr) {
        siglongjmp(*abortLanding, 1);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void catchAborts()
{
    struct sigaction action {};
    action.sa_handler = landAbort;
    sigemptyset(&action.sa_mask);
    sigaction(SIGABRT, &action, nullptr);
}

} // namespace

bool survivesAbort(const std::function<void()>& work)
{
    static std::once_flag caught;
    std::call_once(caught, catchAborts);
    sigjmp_buf landing;
    if (sigsetjmp(landing, 1) != 0) {
        abortLanding = nullptr;
        return false;
    }
    abortLanding = &landing;
    work();
    abortLanding = nullptr;
    return true;
}

#endif
