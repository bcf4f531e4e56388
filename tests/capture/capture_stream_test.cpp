#include "capture/abort_guard.h"
#include "capture/bounded_call.h"
#include "capture/capture_ring.h"
#include "capture/capture_stream.h"
#include "capture/input_devices.h"
#include "capture/input_watch.h"
#include "rig/audio_plugins.h"
#include "rig/pulse_server.h"
#include "rig/scoped_environment.h"
#include "rig/wait_until.h"
#include "tests/capture/capture_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

std::string fileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// How the programs meet a machine without any audio input: the input is
// absent for PortAudio's reason, and the back-ends' noise stays off the
// terminal while standard error itself still works.
TEST(CaptureStreamWithoutDevice, EveryCallFailsQuietlyAndTheSnapshotStaysZero)
{
    restoreCaptureStartState();
    const rig::ScopedEnvironment environment(rig::noAudioEnvironment());

    // Catch everything written to file descriptor 2 meanwhile.
    char capturePath[] = "/tmp/earshot-stderr-XXXXXX";
    const int captureFd = mkstemp(capturePath);
    ASSERT_GE(captureFd, 0);
    std::fflush(stderr);
    const int originalStderr = dup(2);
    dup2(captureFd, 2);

    snapshotHold.store(1);
    startCapture();
    const int64_t holdAfterStart = snapshotHold.load();
    // The device scan without a device is slow under the sanitizers.
    const bool told =
        rig::waitUntil([] { return currentInput().state != InputState::opening; }, std::chrono::seconds(20));
    rig::keepAudioPluginsLoaded();
    const InputReport input = currentInput();
    EXPECT_TRUE(stopCaptureWithin(std::chrono::seconds(20)));
    const std::string stillHere = "still here\n";
    EXPECT_EQ(write(2, stillHere.data(), stillHere.size()), static_cast<ssize_t>(stillHere.size()));

    std::fflush(stderr);
    dup2(originalStderr, 2);
    close(originalStderr);
    close(captureFd);
    const std::string written = fileText(capturePath);
    std::remove(capturePath);

    EXPECT_TRUE(told);
    EXPECT_EQ(captureStream, nullptr);
    EXPECT_EQ(holdAfterStart, 0);
    EXPECT_EQ(written, stillHere) << "the back-ends' noise must be silenced and stderr left working";
    EXPECT_EQ(input.state, InputState::absent);
    EXPECT_STREQ(input.problem, "Device unavailable");
    for (int64_t i = 0; i < captureLength; ++i) {
        ASSERT_EQ(CaptureSnapshot[i], 0.0f) << "element " << i;
    }
}

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

// How --input reads a name: index, then exact name, then a unique part of a
// name in any case; otherwise no choice, with the candidates.
TEST(InputChoice, IndexExactNameOrUniquePartElseTheCandidates)
{
    const std::vector<InputDevice> inputs = {
        {0, "ALSA", "Low tone", false}, {3, "ALSA", "low", false}, {7, "ALSA", "default", true}};
    const std::vector<std::pair<std::string, int>> chosen = {
        {"3", 1}, {"low", 1}, {"LOW T", 0}, {"fault", 2}, {"Low tone", 0}};
    for (const auto& [wanted, position] : chosen) {
        EXPECT_EQ(chooseInput(inputs, wanted).chosen, position) << wanted;
    }
    const InputChoice several = chooseInput(inputs, "LOW");
    EXPECT_EQ(several.chosen, 1) << "a whole name wins over names that hold it";
    const InputChoice ambiguous = chooseInput(inputs, "o");
    EXPECT_EQ(ambiguous.chosen, -1);
    EXPECT_TRUE(ambiguous.several);
    EXPECT_EQ(ambiguous.candidates, (std::vector<int>{0, 1}));
    const InputChoice none = chooseInput(inputs, "9");
    EXPECT_EQ(none.chosen, -1);
    EXPECT_FALSE(none.several);
    EXPECT_EQ(none.candidates, (std::vector<int>{0, 1, 2}));
}

// The supervisor's judgement of a running stream, look by look (times in ms).
TEST(InputWatch, ALostStreamIsOneThatEndsOrStaysSilentForThreeSeconds)
{
    InputWatch watch = startWatch(100, 0);
    EXPECT_EQ(watchInput(watch, 100, true, 2999), InputVerdict::waiting);
    EXPECT_EQ(watchInput(watch, 100, true, 3000), InputVerdict::lost);

    watch = startWatch(100, 0);
    EXPECT_EQ(watchInput(watch, 101, true, 2900), InputVerdict::delivering);
    // Gaps between the bursts of a healthy input.
    EXPECT_EQ(watchInput(watch, 101, true, 5899), InputVerdict::delivering);
    EXPECT_EQ(watchInput(watch, 96101, true, 5900), InputVerdict::delivering);
    EXPECT_EQ(watchInput(watch, 96101, true, 8900), InputVerdict::lost);
    EXPECT_TRUE(watch.delivered);

    // The end of a stream counts at once, after samples or before any.
    watch = startWatch(0, 0);
    EXPECT_EQ(watchInput(watch, 0, false, 200), InputVerdict::lost);
    EXPECT_FALSE(watch.delivered);
    watch = startWatch(0, 0);
    EXPECT_EQ(watchInput(watch, 50, true, 200), InputVerdict::delivering);
    EXPECT_EQ(watchInput(watch, 50, false, 400), InputVerdict::lost);
}

// A call into the audio library that does not return within two seconds (a
// sound server that accepts connections but does not answer) shows as a
// missing input, whatever the supervisor recorded before it.
TEST(InputWatch, ACallUnansweredForTwoSecondsShowsAsAMissingInput)
{
    const int64_t since = 10000;
    const int64_t limit = audioAnswerLimit.count();
    EXPECT_EQ(heardState(InputState::opening, since, since + limit - 1), InputState::opening);
    EXPECT_EQ(heardState(InputState::opening, since, since + limit), InputState::absent);
    EXPECT_EQ(heardState(InputState::absent, since, since + limit), InputState::absent);
    EXPECT_EQ(heardState(InputState::delivering, since, since + limit), InputState::lost);
    EXPECT_EQ(heardState(InputState::lost, since, since + limit), InputState::lost);
    EXPECT_EQ(heardState(InputState::delivering, 0, since + limit), InputState::delivering) << "no call under way";
}

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

} // namespace
