#include "plot/frame_convert.h"

#include <cstddef>
#include <cstring>

void convertRows(const uint8_t* indices, int32_t width, int32_t rowCount, const uint32_t (&xrgb)[paletteSize],
                 uint8_t* out, int32_t outPitch)
{
    for (int32_t row = 0; row < rowCount; ++row) {
        const uint8_t* source = indices + static_cast<ptrdiff_t>(row) * width;
        uint8_t* target = out + static_cast<ptrdiff_t>(row) * outPitch;
        for (int32_t x = 0; x < width; ++x) {
            std::memcpy(target + 4 * static_cast<ptrdiff_t>(x), &xrgb[source[x]], 4);
        }
    }
}
