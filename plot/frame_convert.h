// Turns rows of the 8-bit indexed frame buffer into 32-bit window pixels
// through a palette lookup. Pure; any thread.
#pragma once

#include <cstdint>

#include "plot/palette.h"

// Converts rowCount rows of width palette indices each (source pitch width
// bytes) into 32-bit pixels looked up in xrgb, written row by row to out with
// a pitch of outPitch bytes (at least 4 * width, a multiple of 4).
void convertRows(const uint8_t* indices, int32_t width, int32_t rowCount, const uint32_t (&xrgb)[paletteSize],
                 uint8_t* out, int32_t outPitch);
