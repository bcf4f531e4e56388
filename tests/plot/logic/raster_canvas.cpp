#include "tests/plot/logic/raster_canvas.h"

#include <algorithm>
#include <cstdlib>

namespace plottest {

int64_t Canvas::count(uint8_t colour) const
{
    return std::count(pixels.begin(), pixels.end(), colour);
}

void bresenhamWalk(int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                   const std::function<void(int64_t step, Pixel pixel)>& visit)
{
    const int64_t sx = x2 < x1 ? -1 : 1;
    const int64_t sy = y2 < y1 ? -1 : 1;
    const int64_t dx = std::abs(x2 - x1);
    const int64_t dy = std::abs(y2 - y1);
    const bool xMajor = dx >= dy;
    const int64_t d = xMajor ? dx : dy;
    const int64_t n = xMajor ? dy : dx;
    int64_t error = 2 * n - d;
    Pixel at{x1, y1};
    visit(0, at);
    for (int64_t i = 1; i <= d; ++i) {
        if (error >= 0) {
            (xMajor ? at.y : at.x) += xMajor ? sy : sx;
            error -= 2 * d;
        }
        (xMajor ? at.x : at.y) += xMajor ? sx : sy;
        error += 2 * n;
        visit(i, at);
    }
}

} // namespace plottest
