// Writes RGB pictures as PNG files (8 bits per channel, no interlace), so that
// screenshots of a test run can be looked at. The picture data is stored in
// uncompressed deflate blocks: simple and exact, at the price of size. Pure
// functions, callable from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "rig/rgb_image.h"

namespace rig {

// The whole PNG file for the image.
std::vector<uint8_t> encodePng(const RgbImage& image);

// Writes encodePng(image) to path; false when the file cannot be written.
bool writePng(const std::string& path, const RgbImage& image);

// The checksums that PNG and its zlib stream use: CRC-32 (polynomial
// 0xedb88320, reflected, inverted) and Adler-32.
uint32_t crc32(const uint8_t* data, size_t size);
uint32_t adler32(const uint8_t* data, size_t size);

} // namespace rig
