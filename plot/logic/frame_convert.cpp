#include "plot/logic/frame_convert.h"

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

RowRuns takeChangedRows(const uint8_t* frame, uint8_t* shown, int32_t width, RowSpan span, bool everyRow)
{
    const auto rowBytes = static_cast<size_t>(width);
    RowRuns changed;
    for (int32_t row = span.first; row <= span.last; ++row) {
        const ptrdiff_t at = static_cast<ptrdiff_t>(row) * width;
        if (!everyRow && std::memcmp(frame + at, shown + at, rowBytes) == 0) {
            continue;
        }
        std::memcpy(shown + at, frame + at, rowBytes);
        RowSpan* last = changed.count > 0 ? &changed.runs[changed.count - 1] : nullptr;
        if (last != nullptr && (last->last == row - 1 || changed.count == maxRowRuns)) {
            last->last = row;
        } else {
            changed.runs[changed.count++] = {row, row};
        }
    }
    return changed;
}
