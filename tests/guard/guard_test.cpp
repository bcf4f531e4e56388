#include "guard/abort_guard.h"
#include "guard/bounded_call.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

namespace {

// The exit's wait for a stop that may never come: a call that ends is waited
// for, one that hangs is left to run on while the caller goes on.
TEST(FinishesWithin, WaitsForACallThatEndsAndLeavesOneThatHangs)
{
    std::atomic<int> calls{0};
    EXPECT_EQ(finishesWithin([&calls] { ++calls; }, std::chrono::seconds(20)), BoundedCall::finished);
    EXPECT_EQ(calls.load(), 1);

    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> ended{false};
    EXPECT_EQ(finishesWithin(
                  [released, &ended] {
                      released.wait();
                      ended = true;
                  },
                  std::chrono::milliseconds(50)),
              BoundedCall::stillRunning);
    EXPECT_FALSE(ended.load());
    release.set_value();
    while (!ended.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

#ifndef _WIN32
// An abort inside a guarded call (a library's failed assertion) returns to
// the caller, which goes on; the guard then still works, and a call that
// returns is simply run.
TEST(AbortGuard, AnAbortInTheGuardedCallReturnsToTheCaller)
{
    int runs = 0;
    for (int round = 0; round < 2; ++round) {
        EXPECT_FALSE(survivesAbort([&runs] {
            ++runs;
            std::abort();
        })) << "round "
            << round;
    }
    EXPECT_TRUE(survivesAbort([&runs] { ++runs; }));
    EXPECT_EQ(runs, 3);
}
#endif

} // namespace
