// A pixel array for rasterising in tests, and the plain step-by-step
// Bresenham walk to compare clipped lines against.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "plot/logic/raster.h"

namespace plottest {

struct Canvas {
    int32_t width;
    int32_t height;
    std::vector<uint8_t> pixels;

    Canvas(int32_t w, int32_t h, uint8_t background = 0)
        : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), background)
    {}
    RasterView view() { return {pixels.data(), width, height}; }
    uint8_t at(int64_t x, int64_t y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    int64_t count(uint8_t colour) const;
};

struct Pixel {
    int64_t x;
    int64_t y;
    bool operator==(const Pixel&) const = default;
};

// Hands every pixel of the line from (x1, y1) to (x2, y2) to visit with its
// step number, in drawing order, walked one step at a time with no clipping.
void bresenhamWalk(int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                   const std::function<void(int64_t step, Pixel pixel)>& visit);

} // namespace plottest
