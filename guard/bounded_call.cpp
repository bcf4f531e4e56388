#include "guard/bounded_call.h"

#include <future>
#include <memory>
#include <system_error>
#include <thread>

BoundedCall finishesWithin(const std::function<void()>& work, std::chrono::milliseconds limit)
{
    // Shared, so that a call that outlives the wait still has somewhere to
    // report its end.
    auto finished = std::make_shared<std::promise<void>>();
    std::future<void> end = finished->get_future();
    try {
        std::thread([work, finished] {
            work();
            finished->set_value();
        }).detach();
    } catch (const std::system_error&) {
        return BoundedCall::notStarted;
    }
    return end.wait_for(limit) == std::future_status::ready ? BoundedCall::finished : BoundedCall::stillRunning;
}
