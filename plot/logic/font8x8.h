// The 8x8 bitmap font of the plot screen: 256 glyphs laid out as code page
// 437, so a text byte selects its glyph directly.
//
// fontGlyphs[c][r] is row r of glyph c, row 0 at the top and row 7 at the
// bottom; bit 7 of each byte is the leftmost pixel and bit 0 the rightmost.
// Glyph 0xDB is the solid block (all 64 pixels set); glyphs 0x00, 0x20 and
// 0xFF are empty. Box-drawing glyphs cross the cell edges at column 3 and
// row 3 (double lines at columns 2 and 4, rows 2 and 4), so neighbours join.
// Constant data: readable from any thread.
#pragma once

#include <cstdint>

// One glyph for each byte value, each glyphSize rows of glyphSize pixels.
constexpr int glyphCount = 256;
constexpr int glyphSize = 8;

extern const uint8_t fontGlyphs[glyphCount][glyphSize];
