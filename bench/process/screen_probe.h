// What a monitor's window shows, judged from a capture of it: a first frame,
// silence, or a signal. Pure functions of the picture; any thread.
#pragma once

#include <cstdint>

#include "rig/rgb_image.h"

// The monitors' trace (palette index 10) and text (index 14) colours.
inline constexpr rig::Rgb traceRgb{85, 255, 85};
inline constexpr rig::Rgb textRgb{255, 255, 85};

// The screen row of the waveform's zero line, and how far from it the trace
// must reach to show a signal.
inline constexpr int waveZeroRow = 200;
inline constexpr int waveSignalReach = 50;

// One monitor's criteria; each may be handed a partly drawn frame.
struct ScreenProbe {
    bool (*firstFrame)(const rig::RgbImage&);
    bool (*showsSilence)(const rig::RgbImage&);
    bool (*showsSignal)(const rig::RgbImage&);
};

extern const ScreenProbe wavemonProbe;
extern const ScreenProbe specmonProbe;

// Columns that hold at least one pixel of that colour, anywhere or on one row.
int64_t columnsWithColour(const rig::RgbImage& image, rig::Rgb colour);
int64_t columnsWithColourOnRow(const rig::RgbImage& image, rig::Rgb colour, int row);

// The largest distance in rows of a pixel of that colour from row; -1 when
// there is none.
int64_t farthestFromRow(const rig::RgbImage& image, rig::Rgb colour, int row);

bool hasColour(const rig::RgbImage& image, rig::Rgb colour);
