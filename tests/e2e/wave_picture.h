// The window of wavemon: one point per column for the older 1024 samples of a
// frame, the help lines drawn over them. Pure functions, any thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/monitor_picture.h"

namespace e2e {

constexpr int wavePoints = 1024;

inline constexpr std::array<TextLine, 2> waveHelpLines{{
    {4, 16, "click mouse button to change Y-axis scale"},
    {4, 4, "hit ctrl-C or ESC key to exit"},
}};

// Plot row of a sample value at a scale: value x scale x 200 + 200, each step
// rounded to single precision, then to the nearest integer, halves to even.
int64_t waveRow(float value, float scale);

// The whole window for the plot rows of the 1024 points (rows outside the
// window draw nothing).
Picture wavePicture(const std::vector<int64_t>& plotRows);

// The same for every point on one row.
Picture flatWavePicture(int64_t plotRow);

// Empty when the capture is a complete frame whose trace keeps within
// maxDistance rows of plot row 200: the help lines exact, one trace pixel in
// each column 0..1023 and none in column 1024. Otherwise what differs.
std::string checkWaveWithin(const rig::RgbImage& image, int maxDistance);

// The largest distance of a trace pixel from plot row 200 (-1 for none).
int waveSpread(const rig::RgbImage& image);

// The plot row shown in each column 0..1023, -1 where the column shows no
// trace pixel (a point outside the window or under a glyph).
std::vector<int64_t> shownWaveRows(const rig::RgbImage& image);

} // namespace e2e
