#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plot/controls.h"
#include "plot/state/controls_state.h"
#include "plot/state/screen_state.h"
#include "rig/wait_until.h"

namespace {

void setKeyHit(bool hit)
{
    const std::lock_guard services(servicesLock);
    const std::lock_guard screen(screenLock);
    keyHit = hit;
}

bool keyHitNow()
{
    const std::lock_guard screen(screenLock);
    return keyHit;
}

TEST(SleepMs, AKeyHitBeforeTheHundredIsTakenAndCleared)
{
    setKeyHit(true);
    sleepMs(100);
    EXPECT_FALSE(keyHitNow());
}

TEST(SleepMs, ShortPausesLeaveTheKeyHitAlone)
{
    setKeyHit(true);
    sleepMs(20);
    sleepMs(0);
    EXPECT_TRUE(keyHitNow());
    setKeyHit(false);
}

TEST(SleepMs, PausesAtLeastAsLongAsAsked)
{
    setKeyHit(false);
    for (const int32_t ms : {30, 100, 120}) {
        const auto start = std::chrono::steady_clock::now();
        sleepMs(ms);
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(ms));
    }
}

TEST(SleepMs, WaitingForAKeyLeavesTheServicesFreeToOtherThreads)
{
    setKeyHit(false);
    std::atomic<bool> returned = false;
    std::thread waiter([&] {
        sleepMs(-1);
        returned = true;
    });
    // The key can only be queued while the waiter does not hold the services.
    std::unique_lock services(servicesLock, std::defer_lock);
    const bool locked = rig::waitUntil([&] { return services.try_lock(); });
    if (locked) {
        const std::lock_guard screen(screenLock);
        keyHit = true;
        services.unlock();
    }
    EXPECT_TRUE(locked);
    EXPECT_TRUE(rig::waitUntil([&] { return returned.load(); }));
    if (!returned) {
        const std::lock_guard screen(screenLock);
        keyHit = true;
    }
    waiter.join();
    EXPECT_FALSE(keyHitNow());
}

} // namespace
