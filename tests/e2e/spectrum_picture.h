// The window of specmon: the levels of 1024 bins as a polyline, bin i at
// column i + 1, 5 pixels per decibel above the offset, under a legend on
// black blocks. Pure functions, any thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/monitor_picture.h"

namespace e2e {

constexpr int spectrumBins = 1024;
constexpr float rowsPerDb = 5.0f;

inline constexpr std::array<TextLine, 2> spectrumLegendLines{{
    {4, 16, "click mouse button to change Y-axis offset"},
    {4, 4, "hit ctrl-C or ESC key to exit"},
}};

// Plot row of a level: 5 x level + offset, each step rounded to single
// precision, then to the nearest integer, halves to even.
int64_t levelRow(float levelDb, float offset);

// The whole window when every level is below it: the legend alone.
Picture legendOnlyPicture();

// Empty when the capture shows the legend exactly on its blocks and a
// polyline of these levels at this offset: every inside pixel row of each
// segment lit in one of its two columns, no trace pixel anywhere else.
// Otherwise the first differences.
std::string checkSpectrumTrace(const rig::RgbImage& image, const std::vector<float>& levelsDb, float offset);

// The plot row of the topmost pixel in a column in a line's colour (the
// trace's unless given); -1 for none.
int topTraceRow(const rig::RgbImage& image, int x, uint8_t colour = traceColour);

} // namespace e2e
