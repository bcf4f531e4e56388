#include "plot/logic/raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// Far outside any view, yet small enough that 2 * d * n of Bresenham's
// closed form fits in 64 bits for every pair of clamped end points.
constexpr int64_t coordinateLimit = int64_t{1} << 30;
constexpr int styleBits = 16;

struct Point {
    int64_t x = 0;
    int64_t y = 0;
};

// Rounds halves away from zero and clamps; false for NaN. Inside the limits
// the truncated value is a float again and the fraction left over is exact,
// so no rounding function is needed.
bool toPixel(float value, int64_t& pixel)
{
    if (std::isnan(value)) {
        return false;
    }
    constexpr auto limit = static_cast<float>(coordinateLimit);
    if (value <= -limit || value >= limit) {
        pixel = value < 0.0f ? -coordinateLimit : coordinateLimit;
        return true;
    }
    const auto whole = static_cast<int64_t>(value);
    const float fraction = value - static_cast<float>(whole);
    pixel = whole + (fraction >= 0.5f ? 1 : 0) - (fraction <= -0.5f ? 1 : 0);
    return true;
}

bool toPoint(float x, float y, Point& point)
{
    return toPixel(x, point.x) && toPixel(y, point.y);
}

// Steps i of 0..last; empty when first > last.
struct StepRange {
    int64_t first = 0;
    int64_t last = -1;
};

// The steps i in 0..count for which start + direction * i lies in 0..size-1.
StepRange stepsInside(int64_t start, int64_t direction, int64_t size, int64_t count)
{
    if (direction > 0) {
        return {std::max<int64_t>(0, -start), std::min(count, size - 1 - start)};
    }
    return {std::max<int64_t>(0, start - (size - 1)), std::min(count, start)};
}

uint64_t ceilDivide(uint64_t numerator, uint64_t denominator)
{
    return (numerator + denominator - 1) / denominator;
}

// After i major steps Bresenham's minor offset is floor((2ni + d) / 2d).
// The first step whose offset reaches k (0 < k <= n):
int64_t firstStepReaching(int64_t k, int64_t d, int64_t n)
{
    if (k <= 0) {
        return 0;
    }
    const auto ud = static_cast<uint64_t>(d);
    return static_cast<int64_t>(ceilDivide(2 * ud * static_cast<uint64_t>(k) - ud, 2 * static_cast<uint64_t>(n)));
}

// The last step whose offset is still at most k (0 <= k <= n):
int64_t lastStepWithin(int64_t k, int64_t d, int64_t n)
{
    if (k >= n) {
        return d;
    }
    const auto ud = static_cast<uint64_t>(d);
    return static_cast<int64_t>(ceilDivide(2 * ud * static_cast<uint64_t>(k) + ud, 2 * static_cast<uint64_t>(n))) - 1;
}

uint8_t* pixelAt(RasterView view, int64_t x, int64_t y)
{
    return view.pixels + static_cast<ptrdiff_t>(y) * view.width + static_cast<ptrdiff_t>(x);
}

RowSpan rowSpanOf(int64_t a, int64_t b)
{
    return {static_cast<int32_t>(std::min(a, b)), static_cast<int32_t>(std::max(a, b))};
}

// Columns left..right of row y (left <= right), clipped, as one run of bytes.
RowSpan fillRow(RasterView view, int64_t y, int64_t left, int64_t right, uint8_t colour)
{
    left = std::max<int64_t>(left, 0);
    right = std::min<int64_t>(right, view.width - 1);
    if (y < 0 || y >= view.height || left > right) {
        return {};
    }
    std::memset(pixelAt(view, left, y), colour, static_cast<size_t>(right - left + 1));
    return rowSpanOf(y, y);
}

// One axis of a line: where it starts, which way it goes, how far, and how
// large the view is along it.
struct Axis {
    int64_t start;
    int64_t direction;
    int64_t distance;
    int64_t size;
    ptrdiff_t stride;
};

RowSpan bresenham(RasterView view, Point from, Point to, uint8_t colour, uint16_t style)
{
    const Axis xAxis{from.x, to.x < from.x ? -1 : 1, std::abs(to.x - from.x), view.width, 1};
    const Axis yAxis{from.y, to.y < from.y ? -1 : 1, std::abs(to.y - from.y), view.height, view.width};
    const bool xMajor = xAxis.distance >= yAxis.distance;
    const Axis& major = xMajor ? xAxis : yAxis;
    const Axis& minor = xMajor ? yAxis : xAxis;
    const int64_t d = major.distance;
    const int64_t n = minor.distance;

    // The visible steps: those whose major coordinate is inside, cut down to
    // those whose minor offset is inside (the offset never falls as i grows).
    StepRange steps = stepsInside(major.start, major.direction, major.size, d);
    const StepRange offsets = stepsInside(minor.start, minor.direction, minor.size, n);
    if (steps.first > steps.last || offsets.first > offsets.last) {
        return {};
    }
    steps.first = std::max(steps.first, firstStepReaching(offsets.first, d, n));
    steps.last = std::min(steps.last, lastStepWithin(offsets.last, d, n));
    if (steps.first > steps.last) {
        return {};
    }

    // The minor offset at steps.first and the error just before the step
    // after it. From the first end point these are 0 and 2n - d; further on,
    // the offset is floor((2ni + d) / 2d) and the error
    // 2n(i + 1) - d - 2d * offset, the remainder of that division plus
    // 2n - 2d.
    const int64_t twoD = 2 * d;
    const int64_t twoN = 2 * n;
    int64_t offset = 0;
    int64_t error = twoN - d;
    if (steps.first > 0) {
        const uint64_t scaled =
            static_cast<uint64_t>(twoN) * static_cast<uint64_t>(steps.first) + static_cast<uint64_t>(d);
        offset = static_cast<int64_t>(scaled / static_cast<uint64_t>(twoD));
        error = static_cast<int64_t>(scaled % static_cast<uint64_t>(twoD)) + twoN - twoD;
    }
    const auto pointAt = [&](int64_t step) {
        const int64_t majorAt = major.start + major.direction * step;
        const int64_t minorAt = minor.start + minor.direction * offset;
        return xMajor ? Point{majorAt, minorAt} : Point{minorAt, majorAt};
    };
    const Point first = pointAt(steps.first);
    const ptrdiff_t majorStride = major.direction * major.stride;
    const ptrdiff_t minorStride = minor.direction * minor.stride;
    uint8_t* pixel = pixelAt(view, first.x, first.y);
    for (int64_t step = steps.first;; ++step) {
        if ((style >> (styleBits - 1 - step % styleBits)) & 1) {
            *pixel = colour;
        }
        if (step == steps.last) {
            break;
        }
        if (error >= 0) {
            pixel += minorStride;
            ++offset;
            error -= twoD;
        }
        error += twoN;
        pixel += majorStride;
    }
    return rowSpanOf(first.y, pointAt(steps.last).y);
}

RowSpan pixelLine(RasterView view, Point from, Point to, uint8_t colour, uint16_t style)
{
    if (from.y == to.y && style == solidStyle) {
        return fillRow(view, from.y, std::min(from.x, to.x), std::max(from.x, to.x), colour);
    }
    return bresenham(view, from, to, colour, style);
}

} // namespace

bool isEmpty(RowSpan span)
{
    return span.first > span.last;
}

RowSpan joinSpans(RowSpan a, RowSpan b)
{
    if (isEmpty(a)) {
        return b;
    }
    if (isEmpty(b)) {
        return a;
    }
    return {std::min(a.first, b.first), std::max(a.last, b.last)};
}

RowSpan rasterLine(RasterView view, float x1, float y1, float x2, float y2, uint8_t colour, uint16_t style)
{
    Point from;
    Point to;
    if (!toPoint(x1, y1, from) || !toPoint(x2, y2, to)) {
        return {};
    }
    return pixelLine(view, from, to, colour, style);
}

RowSpan rasterBox(RasterView view, float x1, float y1, float x2, float y2, uint8_t colour, uint16_t style)
{
    Point a;
    Point c;
    if (!toPoint(x1, y1, a) || !toPoint(x2, y2, c)) {
        return {};
    }
    const Point b{c.x, a.y};
    const Point d{a.x, c.y};
    RowSpan span = pixelLine(view, a, b, colour, style);
    span = joinSpans(span, pixelLine(view, b, c, colour, style));
    span = joinSpans(span, pixelLine(view, c, d, colour, style));
    return joinSpans(span, pixelLine(view, d, a, colour, style));
}

RowSpan rasterFilledBox(RasterView view, float x1, float y1, float x2, float y2, uint8_t colour)
{
    Point a;
    Point b;
    if (!toPoint(x1, y1, a) || !toPoint(x2, y2, b)) {
        return {};
    }
    const int64_t top = std::max<int64_t>(std::min(a.y, b.y), 0);
    const int64_t bottom = std::min<int64_t>(std::max(a.y, b.y), view.height - 1);
    RowSpan span;
    for (int64_t y = top; y <= bottom; ++y) {
        span = joinSpans(span, fillRow(view, y, std::min(a.x, b.x), std::max(a.x, b.x), colour));
    }
    return span;
}

RowSpan rasterText(RasterView view, float x, float y, std::string_view text, uint8_t colour,
                   const uint8_t (&glyphs)[glyphCount][glyphSize])
{
    Point origin;
    if (!toPoint(x, y, origin) || text.empty() || origin.x >= view.width) {
        return {};
    }
    // Glyphs wholly left or right of the view are skipped without a look.
    const int64_t firstGlyph = origin.x >= -(glyphSize - 1) ? 0 : -origin.x / glyphSize;
    const int64_t lastGlyph = std::min(static_cast<int64_t>(text.size()) - 1, (view.width - 1 - origin.x) / glyphSize);
    const int64_t firstRow = std::max<int64_t>(0, -origin.y);
    const int64_t lastRow = std::min<int64_t>(glyphSize - 1, view.height - 1 - origin.y);
    if (firstGlyph > lastGlyph || firstRow > lastRow) {
        return {};
    }
    for (int64_t k = firstGlyph; k <= lastGlyph; ++k) {
        const uint8_t(&glyph)[glyphSize] = glyphs[static_cast<uint8_t>(text[static_cast<size_t>(k)])];
        const int64_t left = origin.x + glyphSize * k;
        for (int64_t row = firstRow; row <= lastRow; ++row) {
            for (int column = 0; column < glyphSize; ++column) {
                const int64_t px = left + column;
                if ((glyph[row] & (0x80 >> column)) != 0 && px >= 0 && px < view.width) {
                    *pixelAt(view, px, origin.y + row) = colour;
                }
            }
        }
    }
    return rowSpanOf(origin.y + firstRow, origin.y + lastRow);
}
