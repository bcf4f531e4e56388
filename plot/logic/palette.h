// The 256-entry palette that a screen opens with, and the lookup that turns
// palette entries into 32-bit window pixels. Pure functions, any thread.
#pragma once

#include <cstdint>

constexpr int paletteSize = 256;

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// The palette every screen opens with: 0-15 the sixteen basic colours, 16-31
// a grey ramp, 32-247 nine hue circles of 24 colours (blue, magenta, red,
// yellow, green, cyan, each reached in four equal steps) that differ in their
// highest and lowest component, 248-255 black.
void setDefaultPalette(PaletteEntry (&palette)[paletteSize]);

// Each entry as an XRGB8888 pixel: blue in bits 0-7, green 8-15, red 16-23,
// bits 24-31 zero.
void paletteToXrgb(const PaletteEntry (&palette)[paletteSize], uint32_t (&xrgb)[paletteSize]);
