#include "capture/capture_ring.h"
#include "capture/capture_stream.h"
#include "rig/audio_plugins.h"
#include "rig/pulse_server.h"
#include "rig/scoped_environment.h"
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

// How the programs meet a machine without any audio input.
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
    openCaptureStream();
    rig::keepAudioPluginsLoaded();
    const PaStream* opened = captureStream;
    startCaptureStream();
    const int64_t holdAfterStart = snapshotHold.load();
    stopCapture();
    std::fputs("still here\n", stderr);

    std::fflush(stderr);
    dup2(originalStderr, 2);
    close(originalStderr);
    close(captureFd);
    const std::string written = fileText(capturePath);
    std::remove(capturePath);

    EXPECT_EQ(opened, nullptr);
    EXPECT_EQ(captureStream, nullptr);
    EXPECT_EQ(holdAfterStart, 0);
    EXPECT_EQ(written, "still here\n") << "the back-ends' noise must be silenced and stderr given back";
    for (int64_t i = 0; i < captureLength; ++i) {
        ASSERT_EQ(CaptureSnapshot[i], 0.0f) << "element " << i;
    }
}

} // namespace
