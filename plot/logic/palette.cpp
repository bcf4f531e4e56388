#include "plot/logic/palette.h"

namespace {

constexpr PaletteEntry basicColours[16] = {
    {0, 0, 0},     {0, 0, 170},     {0, 170, 0},    {0, 170, 170},   {170, 0, 0},   {170, 0, 170},
    {170, 85, 0},  {170, 170, 170}, {85, 85, 85},   {85, 85, 255},   {85, 255, 85}, {85, 255, 255},
    {255, 85, 85}, {255, 85, 255},  {255, 255, 85}, {255, 255, 255},
};

constexpr uint8_t greyLevels[16] = {0, 20, 32, 44, 56, 68, 80, 97, 113, 129, 145, 161, 182, 202, 226, 255};

struct HueRun {
    uint8_t high;
    uint8_t low;
};

constexpr HueRun hueRuns[9] = {{255, 0},  {255, 125}, {255, 182}, {113, 0}, {113, 56},
                               {113, 80}, {64, 0},    {64, 32},   {64, 44}};

constexpr int firstHueIndex = 32;
constexpr int hueRunLength = 24;
constexpr int stepsPerSide = 4;

// Step of 0..4 from low towards high, rounded to nearest.
uint8_t rampValue(HueRun run, int step)
{
    return static_cast<uint8_t>(run.low + ((run.high - run.low) * step + stepsPerSide / 2) / stepsPerSide);
}

// Colour at position 0..23 of the hue circle: six sides of four steps, on
// each of which one component moves between low and high while the other two
// stay put.
PaletteEntry hueColour(HueRun run, int position)
{
    const int side = position / stepsPerSide;
    const int step = position % stepsPerSide;
    const uint8_t rising = rampValue(run, step);
    const uint8_t falling = rampValue(run, stepsPerSide - step);
    switch (side) {
    case 0: return {rising, run.low, run.high};   // blue to magenta
    case 1: return {run.high, run.low, falling};  // magenta to red
    case 2: return {run.high, rising, run.low};   // red to yellow
    case 3: return {falling, run.high, run.low};  // yellow to green
    case 4: return {run.low, run.high, rising};   // green to cyan
    default: return {run.low, falling, run.high}; // cyan back to blue
    }
}

} // namespace

void setDefaultPalette(PaletteEntry (&palette)[paletteSize])
{
    for (int i = 0; i < 16; ++i) {
        palette[i] = basicColours[i];
        palette[16 + i] = {greyLevels[i], greyLevels[i], greyLevels[i]};
    }
    for (int run = 0; run < 9; ++run) {
        for (int position = 0; position < hueRunLength; ++position) {
            palette[firstHueIndex + run * hueRunLength + position] = hueColour(hueRuns[run], position);
        }
    }
    for (int i = firstHueIndex + 9 * hueRunLength; i < paletteSize; ++i) {
        palette[i] = {0, 0, 0};
    }
}

void paletteToXrgb(const PaletteEntry (&palette)[paletteSize], uint32_t (&xrgb)[paletteSize])
{
    for (int i = 0; i < paletteSize; ++i) {
        xrgb[i] = static_cast<uint32_t>(palette[i].red) << 16 | static_cast<uint32_t>(palette[i].green) << 8 |
                  palette[i].blue;
    }
}
