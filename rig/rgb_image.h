// An RGB picture as the rig reads it from a window or writes it to a file:
// rows top to bottom, pixels left to right, three bytes (red, green, blue)
// each.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rig {

using Rgb = std::array<uint8_t, 3>;

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // width * height * 3 bytes

    Rgb pixel(int x, int y) const
    {
        const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
        return {rgb[at], rgb[at + 1], rgb[at + 2]};
    }
};

} // namespace rig
