#include "capture/capture_ring_internal.h"
#include "capture/capture_stream_internal.h"
#include "rig/audio_plugins.h"
#include "rig/pulse_server.h"
#include "rig/scoped_environment.h"
#include "rig/wait_until.h"
#include "tests/capture/capture_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
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

} // namespace
