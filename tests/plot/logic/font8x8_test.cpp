#include "plot/logic/font8x8.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstring>

namespace {

int pixelCount(int glyph)
{
    int count = 0;
    for (uint8_t row : fontGlyphs[glyph]) {
        count += std::popcount(row);
    }
    return count;
}

// One bit per row, bit r set when row r has its pixel in the given column lit.
uint8_t columnMask(int glyph, int column)
{
    uint8_t mask = 0;
    for (int row = 0; row < 8; ++row) {
        if (fontGlyphs[glyph][row] & (0x80 >> column)) {
            mask |= static_cast<uint8_t>(1 << row);
        }
    }
    return mask;
}

enum Side { up, down, left, right };

// The pixels a glyph lights along one edge of its cell.
uint8_t edge(int glyph, Side side)
{
    switch (side) {
    case up: return fontGlyphs[glyph][0];
    case down: return fontGlyphs[glyph][7];
    case left: return columnMask(glyph, 0);
    case right: return columnMask(glyph, 7);
    }
    return 0;
}

// Line kind (0 none, 1 single, 2 double) leaving each box-drawing glyph
// 0xB3..0xDA upwards, downwards, to the left and to the right.
constexpr std::array<const char*, 40> boxKinds = {
    "1100", "1110", "1120", "2210", "0210", "0120", "2220", "2200", "0220", "2020", // B3..BC
    "2010", "1020", "0110", "1001", "1011", "0111", "1101", "0011", "1111", "1102", // BD..C6
    "2201", "2002", "0202", "2022", "0222", "2202", "0022", "2222", "1022", "2011", // C7..D0
    "0122", "0211", "2001", "1002", "0102", "0201", "2211", "1122", "1010", "0101", // D1..DA
};

int boxKind(int glyph, Side side)
{
    return boxKinds[glyph - 0xB3][side] - '0';
}

} // namespace

TEST(Font8x8, SolidBlockIsFullAndBlanksAreEmpty)
{
    for (uint8_t row : fontGlyphs[0xDB]) {
        EXPECT_EQ(row, 0xFF);
    }
    EXPECT_EQ(pixelCount(0x20), 0);
    EXPECT_EQ(pixelCount(0x00), 0);
    EXPECT_EQ(pixelCount(0xFF), 0);
}

TEST(Font8x8, PrintableAsciiGlyphsAreDrawnAndDistinct)
{
    for (int c = 0x21; c <= 0x7E; ++c) {
        EXPECT_GT(pixelCount(c), 0) << "glyph " << c;
        for (int other = c + 1; other <= 0x7E; ++other) {
            EXPECT_NE(std::memcmp(fontGlyphs[c], fontGlyphs[other], 8), 0) << "glyphs " << c << " and " << other;
        }
    }
}

TEST(Font8x8, LettersAndDigitsShareBaselineAndLeaveRightColumnBlank)
{
    auto check = [](int c, bool descends) {
        EXPECT_EQ(columnMask(c, 7), 0) << "glyph " << c << " touches its right neighbour";
        EXPECT_EQ(fontGlyphs[c][7] != 0, descends) << "glyph " << c << " row 7";
        if (!descends) {
            EXPECT_NE(fontGlyphs[c][6], 0) << "glyph " << c << " does not stand on row 6";
        }
    };
    for (int c = '0'; c <= '9'; ++c) {
        check(c, false);
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        check(c, false);
    }
    for (int c = 'a'; c <= 'z'; ++c) {
        check(c, std::strchr("gjpqy", c) != nullptr);
    }
}

TEST(Font8x8, HalfBlocksCoverExactlyTheirHalves)
{
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(fontGlyphs[0xDC][row], row < 4 ? 0x00 : 0xFF) << "lower half, row " << row;
        EXPECT_EQ(fontGlyphs[0xDF][row], row < 4 ? 0xFF : 0x00) << "upper half, row " << row;
        EXPECT_EQ(fontGlyphs[0xDD][row], 0xF0) << "left half, row " << row;
        EXPECT_EQ(fontGlyphs[0xDE][row], 0x0F) << "right half, row " << row;
    }
}

TEST(Font8x8, ShadesGrowDarkerInQuarters)
{
    EXPECT_EQ(pixelCount(0xB0), 16);
    EXPECT_EQ(pixelCount(0xB1), 32);
    EXPECT_EQ(pixelCount(0xB2), 48);
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(fontGlyphs[0xB0][row] & fontGlyphs[0xB2][row], 0) << "dark shade overlaps light shade, row " << row;
    }
}

TEST(Font8x8, BoxDrawingLinesLeaveEachCellWhereNamed)
{
    for (int c = 0xB3; c <= 0xDA; ++c) {
        for (Side side : {up, down, left, right}) {
            EXPECT_EQ(std::popcount(edge(c, side)), boxKind(c, side)) << "glyph " << c << " side " << side;
        }
    }
}

TEST(Font8x8, BoxDrawingNeighboursJoinSeamlessly)
{
    for (int a = 0xB3; a <= 0xDA; ++a) {
        for (int b = 0xB3; b <= 0xDA; ++b) {
            if (boxKind(a, right) != 0 && boxKind(a, right) == boxKind(b, left)) {
                EXPECT_EQ(edge(a, right), edge(b, left)) << "glyph " << a << " beside " << b;
            }
            if (boxKind(a, down) != 0 && boxKind(a, down) == boxKind(b, up)) {
                EXPECT_EQ(edge(a, down), edge(b, up)) << "glyph " << a << " above " << b;
            }
        }
    }
    EXPECT_EQ(edge(0xC4, right), edge(0xC5, left));
    EXPECT_EQ(edge(0xB3, up), edge(0xB3, down));
    EXPECT_EQ(edge(0xCD, left), edge(0xCD, right));
}

TEST(Font8x8, IntegralHalvesJoinAcrossRows)
{
    EXPECT_NE(edge(0xF4, down), 0);
    EXPECT_EQ(edge(0xF4, down), edge(0xF5, up));
}
