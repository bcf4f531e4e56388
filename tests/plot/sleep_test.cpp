#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plot/input.h"
#include "plot/input_state.h"
#include "plot/pause_steps.h"
#include "plot/screen_state.h"
#include "tests/rig/wait_until.h"

namespace {

// Runs the pause steps against a script of key-hit answers and returns what
// happened: "T" for each test of the flag, the length of each sleep.
// hitAtTest n (from 1) makes the nth test find a key; 0 never does.
std::vector<std::string> pauseLog(int32_t ms, int32_t hitAtTest)
{
    std::vector<std::string> log;
    int32_t tests = 0;
    pauseSteps(
        ms,
        [&] {
            log.emplace_back("T");
            return ++tests == hitAtTest;
        },
        [&](int32_t stepMs) { log.push_back(std::to_string(stepMs)); });
    return log;
}

using Log = std::vector<std::string>;

TEST(PauseSteps, HundredTestsOnceThenSleepsTwoSteps)
{
    EXPECT_EQ(pauseLog(100, 0), (Log{"T", "50", "50"}));
    EXPECT_EQ(pauseLog(100, 1), (Log{"T"}));
}

TEST(PauseSteps, LongerPausesTestBeforeEveryFullStepAndSleepTheRestUntested)
{
    EXPECT_EQ(pauseLog(120, 0), (Log{"T", "50", "T", "50", "20"}));
    EXPECT_EQ(pauseLog(149, 0), (Log{"T", "50", "T", "50", "49"}));
    EXPECT_EQ(pauseLog(150, 0), (Log{"T", "50", "T", "50", "50"}));
    EXPECT_EQ(pauseLog(151, 0), (Log{"T", "50", "T", "50", "T", "50", "1"}));
    EXPECT_EQ(pauseLog(250, 0), (Log{"T", "50", "T", "50", "T", "50", "T", "50", "50"}));
}

TEST(PauseSteps, AKeyFoundAtALaterTestEndsThePauseThere)
{
    EXPECT_EQ(pauseLog(250, 3), (Log{"T", "50", "T", "50", "T"}));
    EXPECT_EQ(pauseLog(151, 3), (Log{"T", "50", "T", "50", "T"}));
}

TEST(PauseSteps, ShortPausesSleepWholeWithoutTesting)
{
    EXPECT_EQ(pauseLog(1, 1), (Log{"1"}));
    EXPECT_EQ(pauseLog(99, 1), (Log{"99"}));
}

TEST(PauseSteps, ZeroAndNegativePausesOtherThanMinusOneDoNothing)
{
    EXPECT_EQ(pauseLog(0, 1), Log{});
    EXPECT_EQ(pauseLog(-2, 1), Log{});
    EXPECT_EQ(pauseLog(INT32_MIN, 1), Log{});
}

TEST(PauseSteps, MinusOneTestsEveryStepUntilAKey)
{
    EXPECT_EQ(pauseLog(-1, 1), (Log{"T"}));
    EXPECT_EQ(pauseLog(-1, 4), (Log{"T", "50", "T", "50", "T", "50", "T"}));
}

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
