#include "plot/platform/refresh_mailbox.h"

#include <chrono>

namespace {

// How often the refresh thread takes in window events while no drawing
// wakes it: the programs read keys and buttons once a frame (100 ms), so
// this is quick enough for them, and an idle window costs next to nothing.
constexpr auto eventLookInterval = std::chrono::milliseconds(50);

// How long a pass waits after the first drawing call that wakes it, for the
// rest of the frame: a frame takes a fraction of this to draw, and its rows
// reach the window well within the 10 ms that a drawing call may wait.
constexpr auto frameSettleTime = std::chrono::milliseconds(3);

} // namespace

RefreshMailbox& refreshMailbox()
{
    static RefreshMailbox* const box = new RefreshMailbox;
    return *box;
}

bool awaitRefreshWork()
{
    RefreshMailbox& box = refreshMailbox();
    {
        std::unique_lock lock(box.lock);
        box.changed.wait_for(lock, eventLookInterval, [&box] { return box.workLeft || box.stopRequested; });
        if (box.stopRequested) {
            return false;
        }
        if (!box.workLeft) {
            return true;
        }
        box.workLeft = false;
    }
    std::this_thread::sleep_for(frameSettleTime);
    return true;
}
