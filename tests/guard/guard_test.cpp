#include "guard/abort_guard.h"
#include "guard/bounded_call.h"
#include "guard/output_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

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

#ifndef _WIN32
// A reader that does not read holds the texts up, whole, without holding up
// the owner, who cannot stop the writer meanwhile; once it reads, every text
// arrives in order, also through a descriptor that someone made
// non-blocking.
TEST(OutputWriter, AStalledReaderHoldsTheTextsUpAndLosesNone)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(fcntl(ends[1], F_SETFL, O_NONBLOCK), 0);
    ASSERT_FALSE(startOutputWriter(ends[1]));
    std::string expected;
    std::string received;
    std::string text;
    char block[65536];
    // Each text is larger than the pipe holds.
    for (const char letter : {'a', 'b', 'c'}) {
        text.assign(100000, letter);
        expected += text;
        handOverOutput(text);
        EXPECT_EQ(awaitOutput(std::chrono::milliseconds(50)), OutputOutcome::waiting) << letter;
        EXPECT_FALSE(stopOutputWriter()) << letter;
        while (awaitOutput(std::chrono::milliseconds(1)) == OutputOutcome::waiting) {
            const ssize_t got = read(ends[0], block, sizeof block);
            ASSERT_GT(got, 0);
            received.append(block, static_cast<size_t>(got));
        }
    }
    EXPECT_TRUE(stopOutputWriter());
    close(ends[1]);
    for (ssize_t got; (got = read(ends[0], block, sizeof block)) > 0;) {
        received.append(block, static_cast<size_t>(got));
    }
    close(ends[0]);
    EXPECT_TRUE(received == expected) << received.size() << " of " << expected.size() << " bytes";
}

#endif

// Only a reader that went away is told apart from a write that failed.
TEST(OutputWriter, AReaderThatWentAwayIsToldApartFromAFailedWrite)
{
    int ends[2];
#ifdef _WIN32
    ASSERT_EQ(_pipe(ends, 4096, _O_BINARY), 0);
    _close(ends[0]);
#else
    // As in the programs, a write to a reader that went away fails instead
    // of ending the process.
    std::signal(SIGPIPE, SIG_IGN);
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
#endif
    ASSERT_FALSE(startOutputWriter(ends[1]));
    std::string text = "1 2 3\n";
    handOverOutput(text);
    EXPECT_EQ(awaitOutput(std::chrono::seconds(20)), OutputOutcome::readerGone);
    EXPECT_FALSE(outputError());
    EXPECT_TRUE(stopOutputWriter());
#ifdef _WIN32
    _close(ends[1]);
#else
    close(ends[1]);

    const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    ASSERT_FALSE(startOutputWriter(full));
    text = "4 5 6\n";
    handOverOutput(text);
    EXPECT_EQ(awaitOutput(std::chrono::seconds(20)), OutputOutcome::failed);
    EXPECT_EQ(outputError(), std::errc::no_space_on_device);
    EXPECT_TRUE(stopOutputWriter());
    close(full);
#endif
}

} // namespace
