// Sines of amplitude 0.5 (16384) with a whole number of samples per period,
// as 16-bit samples from a rising zero crossing on: what the audio server's
// sine source plays, and the tones that tests feed through the pipe source.
// Pure functions, any thread.
#pragma once

#include <cstdint>

namespace e2e {

// The sine source's 1500 Hz at 48000 samples a second.
constexpr int64_t sineSourcePeriod = 32;

int16_t toneSample(int64_t period, int64_t n);

// Sample n of the sine source.
int16_t sineSourceSample(int64_t n);

} // namespace e2e
