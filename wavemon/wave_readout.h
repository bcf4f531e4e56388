// wavemon's readout (--readout): the time of the pointer's column from the
// trace's left edge and the sample drawn in it. Pure; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// "2.00 ms  +0.2500": column / 48 in ms with two decimals, then the sample
// with its sign and four decimals; one that rounds to zero reads "+0.0000".
// With a reference trace, its sample there follows: "2.00 ms  +0.2500  ref
// +0.2400".
std::string waveReadout(int64_t column, float sample, std::optional<float> reference = std::nullopt);
