// The measurement line (--measure): the frame's measured values in the
// window's second text row, and the clip mark both programs give it when a
// sample of the frame reached full scale. holdsFullScale is pure; the
// drawing goes through the plot helpers. Any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The mark after the line, and its colour: light red (255, 85, 85).
inline constexpr std::string_view clipMark = "  CLIP";
inline constexpr int64_t clipColour = 12;

// Whether a sample is at full scale, either way: -1.0 or 32767/32768.
bool holdsFullScale(std::span<const float> samples);

// The line in the second text row (measureRowTop) from the left edge, in the
// text colour, with the clip mark after it when clip is set, all on a black
// backing.
void drawMeasureLine(std::string_view text, bool clip);
