#include "capture/capture_ring.h"
#include "capture/capture_stream_internal.h"
#include "rig/audio_plugins.h"
#include "rig/pulse_server.h"
#include "rig/scoped_environment.h"
#include "rig/wait_until.h"
#include "tests/capture/capture_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace {

// The default input of a private sound server plays a counting signal that
// sweeps every 16-bit value; the snapshot must show it sample for sample,
// newest last, and keep moving while the stream runs.
TEST(CaptureLive, SnapshotFollowsTheDefaultInputSampleForSample)
{
    rig::PulseServer pulse(rig::PipeSource{});
    const rig::ScopedEnvironment environment(pulse.environment());
    pulse.playSignal([](int64_t n) { return static_cast<int16_t>(n); });

    restoreCaptureStartState();
    startCapture();

    float copy[captureLength];
    const bool counting = rig::waitUntil([&] {
        copySnapshot(copy);
        return isCountingWindow(copy);
    });
    rig::keepAudioPluginsLoaded();
    const int16_t firstNewest = sampleOf(copy[captureLength - 1]);
    const bool moving = rig::waitUntil([&] {
        copySnapshot(copy);
        return isCountingWindow(copy) && sampleOf(copy[captureLength - 1]) != firstNewest;
    });
    stopCapture();

    EXPECT_TRUE(counting) << "newest " << copy[captureLength - 1] << "\n" << pulse.log();
    EXPECT_TRUE(moving) << "newest " << copy[captureLength - 1];
}

TEST(CaptureLive, StopEndsTheCallbacks)
{
    const rig::PulseServer pulse(rig::SineSource{});
    const rig::ScopedEnvironment environment(pulse.environment());

    restoreCaptureStartState();
    startCapture();
    const bool started = rig::waitUntil([] {
        float copy[captureLength];
        copySnapshot(copy);
        return copy[captureLength - 1] != 0.0f;
    });
    rig::keepAudioPluginsLoaded();
    stopCapture();

    float stopped[captureLength];
    copySnapshot(stopped);
    const bool changed = rig::waitUntil(
        [&] {
            float copy[captureLength];
            copySnapshot(copy);
            return !std::equal(copy, copy + captureLength, stopped);
        },
        std::chrono::milliseconds(500));

    EXPECT_TRUE(started) << pulse.log();
    EXPECT_FALSE(changed);
}

} // namespace
