// What the capture records and keeps: one channel of signed 16-bit samples
// at 48000 per second, each kept as s / 32768, the 2048 newest of them. The
// one home of these numbers, for the code and for the texts that state them.
// Constants only; any thread.
#pragma once

#include <cstdint>

inline constexpr double captureRate = 48000.0;
inline constexpr int64_t captureChannels = 1;
inline constexpr int64_t captureBits = 16;

// A sample s is kept as s / sampleScale: -1.0 for -32768, just under 1.0 for
// 32767.
inline constexpr double sampleScale = 32768.0;

// Number of samples kept: the length of the ring and of the snapshot.
inline constexpr int64_t captureLength = 2048;
