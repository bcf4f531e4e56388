#include "capture/capture_ring_internal.h"

#include <algorithm>
#include <thread>

float CaptureRing[captureLength] = {};
int64_t ringWriteIndex = 0;
float CaptureSnapshot[captureLength] = {};
std::atomic<int64_t> snapshotHold{0};
std::atomic<bool> rebuildUnderway{false};
int64_t ringFill = 0;
int64_t snapshotFill = 0;
int64_t ringClear = 1;
std::atomic<int64_t> callbackCount{0};
static_assert(std::atomic<int64_t>::is_always_lock_free);

int captureCallback(const void* input, void*, unsigned long, const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags,
                    void*)
{
    callbackCount.fetch_add(1, std::memory_order_relaxed);
    if (ringClear == 1) {
        ringClear = 0;
        std::fill_n(CaptureRing, captureLength, 0.0f);
        return paContinue;
    }
    const int16_t sample = *static_cast<const int16_t*>(input);
    CaptureRing[ringWriteIndex] = static_cast<float>(static_cast<double>(sample) / sampleScale);
    ringWriteIndex = (ringWriteIndex + 1) % captureLength;
    ringFill = std::min(ringFill + 1, captureLength);

    rebuildUnderway.store(true, std::memory_order_seq_cst);
    if (snapshotHold.load(std::memory_order_seq_cst) == 0) {
        // Oldest first: the slots from ringWriteIndex to the end, then those before it.
        const int64_t olderCount = captureLength - ringWriteIndex;
        std::copy_n(CaptureRing + ringWriteIndex, olderCount, CaptureSnapshot);
        std::copy_n(CaptureRing, ringWriteIndex, CaptureSnapshot + olderCount);
        snapshotFill = ringFill;
    }
    rebuildUnderway.store(false, std::memory_order_release);
    return paContinue;
}

bool silenceCapture()
{
    std::fill_n(CaptureRing, captureLength, 0.0f);
    ringFill = 0;
    rebuildUnderway.store(true, std::memory_order_seq_cst);
    const bool free = snapshotHold.load(std::memory_order_seq_cst) == 0;
    if (free) {
        std::fill_n(CaptureSnapshot, captureLength, 0.0f);
        snapshotFill = 0;
    }
    rebuildUnderway.store(false, std::memory_order_release);
    return free;
}

void raiseSnapshotHold()
{
    snapshotHold.store(1, std::memory_order_seq_cst);
    while (rebuildUnderway.load(std::memory_order_seq_cst)) {
        std::this_thread::yield();
    }
}

void lowerSnapshotHold()
{
    snapshotHold.store(0, std::memory_order_release);
}

int64_t copySnapshot(float (&destination)[captureLength])
{
    raiseSnapshotHold();
    std::copy_n(CaptureSnapshot, captureLength, destination);
    const int64_t fill = snapshotFill;
    lowerSnapshotHold();
    return fill;
}

int64_t copySnapshot(float (&destination)[captureLength], float (&zeroed)[captureLength])
{
    raiseSnapshotHold();
    for (int64_t i = 0; i < captureLength; ++i) {
        destination[i] = CaptureSnapshot[i];
        zeroed[i] = 0.0f;
    }
    const int64_t fill = snapshotFill;
    lowerSnapshotHold();
    return fill;
}
