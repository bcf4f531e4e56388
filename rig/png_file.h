// PNG files of RGB pictures (8 bits per channel), written and read with
// libpng, so that screenshots of a run can be looked at and checked. Any
// thread.
#pragma once

#include <string>

#include "rig/rgb_image.h"

namespace rig {

// Writes the image to path, compressed; false when the file cannot be written.
bool writePng(const std::string& path, const RgbImage& image);

// The picture in a PNG file, as RGB; an empty image when it cannot be read.
RgbImage readPng(const std::string& path);

} // namespace rig
