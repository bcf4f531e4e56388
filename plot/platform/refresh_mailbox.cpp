#include "plot/platform/refresh_mailbox.h"

RefreshMailbox& refreshMailbox()
{
    static RefreshMailbox* const box = new RefreshMailbox;
    return *box;
}

bool refreshStopRequested()
{
    RefreshMailbox& box = refreshMailbox();
    const std::lock_guard lock(box.lock);
    return box.stopRequested;
}
