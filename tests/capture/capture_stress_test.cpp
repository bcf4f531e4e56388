#include "capture/capture_ring.h"
#include "tests/capture/capture_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace {

// A real audio-side thread calls the callback as fast as it can with a signal
// that counts up by one each call (wrapping within 16 bits). Every copy the
// main thread takes must be one window of that count, newest last: a copy made
// while a rebuild runs would show a break in the count.
TEST(CaptureHandshakeStress, EveryCopyIsOneConsistentWindow)
{
    restoreCaptureStartState();
    int16_t next = 31000;
    feedSample(0);
    for (int64_t i = 0; i < captureLength; ++i) {
        feedSample(next++);
    }

    std::atomic<bool> stop{false};
    std::atomic<int64_t> calls{0};
    std::thread audio([&] {
        int16_t counter = next;
        while (!stop.load(std::memory_order_relaxed)) {
            feedSample(counter++);
            calls.fetch_add(1, std::memory_order_relaxed);
        }
    });

    const int64_t minimumCopies = 4000;
    const size_t minimumDistinctNewest = 100;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    std::set<int16_t> newestSeen;
    int64_t copies = 0;
    int64_t tornCopies = 0;
    float copy[captureLength];
    while ((copies < minimumCopies || newestSeen.size() < minimumDistinctNewest) &&
           std::chrono::steady_clock::now() < deadline) {
        copySnapshot(copy);
        ++copies;
        tornCopies += isCountingWindow(copy) ? 0 : 1;
        newestSeen.insert(sampleOf(copy[captureLength - 1]));
    }
    stop.store(true, std::memory_order_relaxed);
    audio.join();

    EXPECT_EQ(tornCopies, 0) << "of " << copies << " copies";
    EXPECT_GE(copies, minimumCopies);
    EXPECT_GE(newestSeen.size(), minimumDistinctNewest) << "the audio thread made " << calls.load() << " calls";
}

} // namespace
