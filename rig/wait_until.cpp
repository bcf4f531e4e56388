#include "rig/wait_until.h"

#include <thread>

namespace rig {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(rigPollInterval);
    }
    return condition();
}

} // namespace rig
