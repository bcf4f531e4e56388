// Rasterising of the window services' lines, boxes and text into an 8-bit
// indexed pixel array. Pure: no locks, no platform; any thread, one call per
// view at a time.
//
// Coordinates are pixels from the top-left corner, y down, rounded to the
// nearest integer with halves away from zero. Everything outside the view is
// clipped pixel by pixel and never written. NaN coordinates draw nothing;
// coordinates beyond +-2^30 count as +-2^30 (far outside any view), so results
// are exact for every end point within that range.
#pragma once

#include <cstdint>
#include <string_view>

#include "plot/logic/font8x8.h"

// width x height pixels, row after row, top row first, pitch = width.
struct RasterView {
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

// Rows first to last, both included; empty when first > last.
struct RowSpan {
    int32_t first = 0;
    int32_t last = -1;
};

bool isEmpty(RowSpan span);
// The smallest span that holds both.
RowSpan joinSpans(RowSpan a, RowSpan b);

// The style of an unbroken line: every pixel set.
constexpr uint16_t solidStyle = 0xFFFF;

// A line from (x1, y1) to (x2, y2), both ends included, by Bresenham's method:
// the error starts at 2n - d (d the major, n the minor distance) and the minor
// coordinate steps whenever it is 0 or more. Pixel i from (x1, y1) is set when
// bit 15 - i % 16 of style is 1. A clipped line sets exactly the inside pixels
// of the whole line. Returns the rows of its inside pixels.
RowSpan rasterLine(RasterView view, float x1, float y1, float x2, float y2, uint8_t colour, uint16_t style);

// The outline of the box with opposite corners (x1, y1) and (x2, y2): four
// lines, (x1, y1) to (x2, y1) to (x2, y2) to (x1, y2) and back to (x1, y1),
// each starting the style afresh. Returns the rows it may have touched.
RowSpan rasterBox(RasterView view, float x1, float y1, float x2, float y2, uint8_t colour, uint16_t style);

// Every pixel of the box with opposite corners (x1, y1) and (x2, y2), both
// included, filled row by row. Returns its inside rows.
RowSpan rasterFilledBox(RasterView view, float x1, float y1, float x2, float y2, uint8_t colour);

// The glyph of each byte of text, glyph k with its top-left pixel at
// (x + glyphSize * k, y); glyph rows top to bottom, bit 7 the leftmost pixel.
// Only set glyph pixels are written. Returns the rows of its visible glyphs.
RowSpan rasterText(RasterView view, float x, float y, std::string_view text, uint8_t colour,
                   const uint8_t (&glyphs)[glyphCount][glyphSize]);
