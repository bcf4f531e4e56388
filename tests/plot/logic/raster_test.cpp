#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "plot/logic/raster.h"
#include "tests/plot/logic/raster_canvas.h"

namespace plottest {
namespace {

constexpr int32_t screenW = 1025;
constexpr int32_t screenH = 401;
constexpr uint8_t ink = 10;

bool operator==(RowSpan a, RowSpan b)
{
    return (isEmpty(a) && isEmpty(b)) || (a.first == b.first && a.last == b.last);
}

// Expects exactly the listed pixels to carry ink and every other to keep the
// background.
void expectOnly(const Canvas& canvas, const std::vector<Pixel>& inked)
{
    Canvas expected(canvas.width, canvas.height);
    for (const Pixel& p : inked) {
        expected.pixels[static_cast<size_t>(p.y * canvas.width + p.x)] = ink;
    }
    for (int32_t y = 0; y < canvas.height; ++y) {
        for (int32_t x = 0; x < canvas.width; ++x) {
            ASSERT_EQ(canvas.at(x, y), expected.at(x, y)) << "pixel (" << x << ", " << y << ")";
        }
    }
}

// The inside pixels of the whole line, those whose step carries a 1 in style.
std::vector<Pixel> insideReference(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint16_t style, RowSpan& rows)
{
    std::vector<Pixel> inside;
    rows = {};
    bresenhamWalk(x1, y1, x2, y2, [&](int64_t step, Pixel p) {
        if (p.x < 0 || p.x >= screenW || p.y < 0 || p.y >= screenH) {
            return;
        }
        rows = joinSpans(rows, {static_cast<int32_t>(p.y), static_cast<int32_t>(p.y)});
        if ((style >> (15 - step % 16)) & 1) {
            inside.push_back(p);
        }
    });
    return inside;
}

void expectClippedLikeWhole(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint16_t style)
{
    Canvas canvas(screenW, screenH);
    const RowSpan span = rasterLine(canvas.view(), static_cast<float>(x1), static_cast<float>(y1),
                                    static_cast<float>(x2), static_cast<float>(y2), ink, style);
    RowSpan rows;
    const std::vector<Pixel> inside = insideReference(x1, y1, x2, y2, style, rows);
    ASSERT_FALSE(inside.empty());
    expectOnly(canvas, inside);
    EXPECT_TRUE(span == rows) << span.first << ".." << span.last << " instead of " << rows.first << ".." << rows.last;
}

TEST(RasterRounding, HalvesRoundAwayFromZero)
{
    Canvas canvas(screenW, screenH);
    EXPECT_TRUE(rasterLine(canvas.view(), 3.5f, 0.0f, 3.5f, 0.0f, ink, solidStyle) == (RowSpan{0, 0}));
    expectOnly(canvas, {{4, 0}});

    Canvas left(screenW, screenH);
    EXPECT_TRUE(isEmpty(rasterLine(left.view(), -2.5f, 0.0f, -2.5f, 0.0f, ink, solidStyle)));
    EXPECT_TRUE(isEmpty(rasterLine(left.view(), -0.5f, 3.0f, -0.5f, 3.0f, ink, solidStyle)));
    EXPECT_EQ(left.count(ink), 0);

    Canvas near(screenW, screenH);
    rasterLine(near.view(), 2.49f, 6.5f, 2.49f, 6.5f, ink, solidStyle);
    rasterLine(near.view(), 1023.5f, 399.5f, 1023.5f, 399.5f, ink, solidStyle);
    rasterLine(near.view(), 1024.5f, 0.0f, 1024.5f, 0.0f, ink, solidStyle);
    expectOnly(near, {{2, 7}, {1024, 400}});
}

TEST(RasterLine, FollowsBresenhamStepOrderInEveryDirection)
{
    // Each pixel index of the line is found by a style with only its bit set.
    const std::vector<std::vector<Pixel>> lines = {
        {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}, {{4, 1}, {3, 1}, {2, 0}, {1, 0}, {0, 0}},
        {{0, 1}, {1, 1}, {2, 0}, {3, 0}, {4, 0}}, {{4, 0}, {3, 0}, {2, 1}, {1, 1}, {0, 1}},
        {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}}, {{1, 4}, {1, 3}, {0, 2}, {0, 1}, {0, 0}},
        {{1, 0}, {1, 1}, {0, 2}, {0, 3}, {0, 4}}, {{0, 4}, {0, 3}, {1, 2}, {1, 1}, {1, 0}},
    };
    const Pixel offset{7, 3};
    for (const auto& line : lines) {
        const Pixel from{line.front().x + offset.x, line.front().y + offset.y};
        const Pixel to{line.back().x + offset.x, line.back().y + offset.y};
        for (size_t i = 0; i < line.size(); ++i) {
            Canvas canvas(20, 11);
            rasterLine(canvas.view(), static_cast<float>(from.x), static_cast<float>(from.y), static_cast<float>(to.x),
                       static_cast<float>(to.y), ink, static_cast<uint16_t>(0x8000 >> i));
            SCOPED_TRACE("line from (" + std::to_string(from.x) + ", " + std::to_string(from.y) + "), pixel " +
                         std::to_string(i));
            expectOnly(canvas, {{line[i].x + offset.x, line[i].y + offset.y}});
        }
    }
}

TEST(RasterLine, MatchesTheStepwiseWalkOnLongSlopes)
{
    for (const auto& [x1, y1, x2, y2] : std::vector<std::array<int64_t, 4>>{
             {3, 5, 1000, 390}, {1000, 390, 3, 5}, {17, 400, 240, 0}, {600, 2, 1, 399}, {0, 0, 1024, 400}}) {
        SCOPED_TRACE(std::to_string(x1) + "," + std::to_string(y1) + " to " + std::to_string(x2) + "," +
                     std::to_string(y2));
        expectClippedLikeWhole(x1, y1, x2, y2, solidStyle);
        expectClippedLikeWhole(x1, y1, x2, y2, 0xF39D);
    }
}

TEST(RasterLine, StyleTakesBitsFromBit15AndRepeats)
{
    Canvas canvas(screenW, screenH);
    rasterLine(canvas.view(), 0.0f, 0.0f, 17.0f, 0.0f, ink, 0xAAAA);
    expectOnly(canvas, {{0, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0}, {10, 0}, {12, 0}, {14, 0}, {16, 0}});

    // Counted from the first end point, upwards here.
    Canvas vertical(screenW, screenH);
    rasterLine(vertical.view(), 5.0f, 30.0f, 5.0f, 5.0f, ink, 0xC001);
    expectOnly(vertical, {{5, 30}, {5, 29}, {5, 15}, {5, 14}, {5, 13}});
}

TEST(RasterClipping, HorizontalLineKeepsToItsRow)
{
    Canvas canvas(screenW, screenH, 3);
    EXPECT_TRUE(rasterLine(canvas.view(), -100.0f, 200.0f, 2000.0f, 200.0f, ink, solidStyle) == (RowSpan{200, 200}));
    for (int32_t y = 0; y < screenH; ++y) {
        for (int32_t x = 0; x < screenW; ++x) {
            ASSERT_EQ(canvas.at(x, y), y == 200 ? ink : 3) << x << ", " << y;
        }
    }
}

TEST(RasterClipping, CrossingLinesSetExactlyTheirInsidePixels)
{
    // Shallow and steep, each entering through one edge and leaving through
    // another, with the style phase still counted from the first end point.
    expectClippedLikeWhole(-737, 452, 1300, -31, solidStyle);
    expectClippedLikeWhole(-737, 452, 1300, -31, 0xF0E4);
    expectClippedLikeWhole(1300, -31, -737, 452, 0xF0E4);
    expectClippedLikeWhole(210, -500, 617, 903, 0xB5C3);
    expectClippedLikeWhole(617, 903, 210, -500, solidStyle);
    expectClippedLikeWhole(-3, 8, 1030, 395, 0x8001);
    // Millions of steps outside before the first inside pixel.
    expectClippedLikeWhole(-2000003, 170, 3000001, 230, 0xE7A1);
    expectClippedLikeWhole(500, -4000007, 520, 5000000, 0xE7A1);
}

TEST(RasterClipping, LinesBeyondOneEdgeDrawNothing)
{
    Canvas canvas(screenW, screenH);
    EXPECT_TRUE(isEmpty(rasterLine(canvas.view(), -5.0f, 10.0f, -1.0f, 300.0f, ink, solidStyle)));
    EXPECT_TRUE(isEmpty(rasterLine(canvas.view(), 0.0f, 401.0f, 1024.0f, 900.0f, ink, solidStyle)));
    EXPECT_TRUE(isEmpty(rasterLine(canvas.view(), 1025.0f, 0.0f, 1025.0f, 400.0f, ink, solidStyle)));
    EXPECT_TRUE(isEmpty(rasterLine(canvas.view(), 30.0f, -1.0f, 2000.0f, -7.0f, ink, solidStyle)));
    // Passes by the corner without touching it.
    EXPECT_TRUE(isEmpty(rasterLine(canvas.view(), -10.0f, 5.0f, 5.0f, -10.0f, ink, solidStyle)));
    EXPECT_EQ(canvas.count(ink), 0);
}

TEST(RasterClipping, NanDrawsNothingAndHugeValuesClampFarOutside)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Canvas canvas(screenW, screenH);
    EXPECT_TRUE(isEmpty(rasterLine(canvas.view(), nan, 0.0f, 5.0f, 5.0f, ink, solidStyle)));
    EXPECT_TRUE(isEmpty(rasterBox(canvas.view(), 1.0f, 1.0f, 5.0f, nan, ink, solidStyle)));
    EXPECT_TRUE(isEmpty(rasterFilledBox(canvas.view(), nan, nan, 5.0f, 5.0f, ink)));
    EXPECT_EQ(canvas.count(ink), 0);

    Canvas diagonal(screenW, screenH);
    EXPECT_TRUE(rasterLine(diagonal.view(), -inf, -inf, inf, inf, ink, solidStyle) == (RowSpan{0, 400}));
    std::vector<Pixel> expected;
    for (int64_t k = 0; k < screenH; ++k) {
        expected.push_back({k, k});
    }
    expectOnly(diagonal, expected);

    // (2^30, 5) to (-2^30, 7): every inside column falls on row 6.
    Canvas row(screenW, screenH);
    rasterLine(row.view(), 1e30f, 5.0f, -1e30f, 7.0f, ink, solidStyle);
    for (int32_t x = 0; x < screenW; ++x) {
        ASSERT_EQ(row.at(x, 6), ink) << x;
    }
    EXPECT_EQ(row.count(ink), screenW);

    Canvas full(screenW, screenH);
    EXPECT_TRUE(rasterFilledBox(full.view(), -inf, 3e38f, inf, -3e38f, ink) == (RowSpan{0, 400}));
    EXPECT_EQ(full.count(ink), int64_t{screenW} * screenH);
}

TEST(RasterBox, FilledBoxCoversItsInsideWhateverTheCornerOrder)
{
    Canvas canvas(screenW, screenH);
    EXPECT_TRUE(rasterFilledBox(canvas.view(), 1025.0f, -1.0f, 0.0f, 400.0f, ink) == (RowSpan{0, 400}));
    EXPECT_EQ(canvas.count(ink), int64_t{screenW} * screenH);

    Canvas corner(screenW, screenH);
    EXPECT_TRUE(rasterFilledBox(corner.view(), 5.0f, 1000.0f, -3.0f, 398.6f, ink) == (RowSpan{399, 400}));
    std::vector<Pixel> inside;
    for (int64_t y = 399; y <= 400; ++y) {
        for (int64_t x = 0; x <= 5; ++x) {
            inside.push_back({x, y});
        }
    }
    expectOnly(corner, inside);
}

TEST(RasterBox, OutlineDrawsOnlyTheEdgesThatLieInside)
{
    Canvas canvas(screenW, screenH);
    // Left edge (column -10) and bottom edge (row 500) lie outside.
    EXPECT_TRUE(rasterBox(canvas.view(), 20.0f, 500.0f, -10.0f, 5.0f, ink, solidStyle) == (RowSpan{5, 400}));
    std::vector<Pixel> edges;
    for (int64_t x = 0; x <= 20; ++x) {
        edges.push_back({x, 5});
    }
    for (int64_t y = 6; y < screenH; ++y) {
        edges.push_back({20, y});
    }
    expectOnly(canvas, edges);

    Canvas around(screenW, screenH);
    EXPECT_TRUE(isEmpty(rasterBox(around.view(), -1.0f, -1.0f, 1025.0f, 401.0f, ink, solidStyle)));
    EXPECT_EQ(around.count(ink), 0);

    Canvas small(9, 7);
    rasterBox(small.view(), 6.0f, 1.0f, 2.0f, 4.0f, ink, solidStyle);
    expectOnly(small, {{2, 1},
                       {3, 1},
                       {4, 1},
                       {5, 1},
                       {6, 1},
                       {2, 2},
                       {6, 2},
                       {2, 3},
                       {6, 3},
                       {2, 4},
                       {3, 4},
                       {4, 4},
                       {5, 4},
                       {6, 4}});
}

// Glyph 'A' and 'B' of a made-up font, neither symmetric, so that halves and
// mirror images show.
struct TestFont {
    uint8_t glyphs[glyphCount][glyphSize] = {};
    TestFont()
    {
        const uint8_t a[glyphSize] = {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x43, 0x00};
        const uint8_t b[glyphSize] = {0xFC, 0x42, 0x42, 0x7C, 0x42, 0x42, 0xFC, 0x01};
        std::copy(std::begin(a), std::end(a), glyphs['A']);
        std::copy(std::begin(b), std::end(b), glyphs['B']);
        std::fill(std::begin(glyphs[0xDB]), std::end(glyphs[0xDB]), 0xFF);
        glyphs[0xC4][2] = 0x81;
    }
};

bool glyphBit(const TestFont& font, uint8_t c, int row, int column)
{
    return (font.glyphs[c][row] & (0x80 >> column)) != 0;
}

TEST(RasterText, ClipsGlyphsPixelByPixelAndKeepsTheBackground)
{
    const TestFont font;
    Canvas canvas(screenW, screenH, 3);
    EXPECT_TRUE(rasterText(canvas.view(), -4.0f, 0.0f, "AB", ink, font.glyphs) == (RowSpan{0, 7}));
    int64_t inked = 0;
    for (int row = 0; row < 10; ++row) {
        for (int x = 0; x < 16; ++x) {
            bool set = false;
            if (row < glyphSize && x < 4) {
                set = glyphBit(font, 'A', row, x + 4);
            } else if (row < glyphSize && x < 12) {
                set = glyphBit(font, 'B', row, x - 4);
            }
            ASSERT_EQ(canvas.at(x, row), set ? ink : 3) << x << ", " << row;
            inked += set ? 1 : 0;
        }
    }
    EXPECT_EQ(canvas.count(ink), inked);
}

TEST(RasterText, SkipsGlyphsOutsideAndDrawsTheEdgeOnes)
{
    const TestFont font;
    // Bottom edge: only the glyph's top three rows.
    Canvas bottom(screenW, screenH);
    EXPECT_TRUE(rasterText(bottom.view(), 1019.0f, 398.0f, "BA", ink, font.glyphs) == (RowSpan{398, 400}));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 6; ++column) {
            ASSERT_EQ(bottom.at(1019 + column, 398 + row), glyphBit(font, 'B', row, column) ? ink : 0);
        }
    }
    EXPECT_EQ(bottom.count(ink), 6 + 1 + 1);

    // A thousand glyphs to the left: only the tail of glyph 999 and glyph 1000.
    std::string text(1001, '\xC4');
    text[999] = '\xDB';
    text[1000] = 'A';
    Canvas left(screenW, screenH);
    EXPECT_TRUE(rasterText(left.view(), -7997.0f, 100.0f, text, ink, font.glyphs) == (RowSpan{100, 107}));
    std::vector<Pixel> expected;
    for (int64_t row = 0; row < glyphSize; ++row) {
        for (int64_t x = 0; x < 3; ++x) {
            expected.push_back({x, 100 + row});
        }
        for (int column = 0; column < glyphSize; ++column) {
            if (glyphBit(font, 'A', static_cast<int>(row), column)) {
                expected.push_back({3 + column, 100 + row});
            }
        }
    }
    expectOnly(left, expected);

    Canvas none(screenW, screenH);
    EXPECT_TRUE(isEmpty(rasterText(none.view(), 1025.0f, 0.0f, "A", ink, font.glyphs)));
    EXPECT_TRUE(isEmpty(rasterText(none.view(), -16.0f, 0.0f, "AB", ink, font.glyphs)));
    EXPECT_TRUE(isEmpty(rasterText(none.view(), 0.0f, -8.0f, "AB", ink, font.glyphs)));
    EXPECT_TRUE(isEmpty(rasterText(none.view(), 0.0f, 0.0f, "", ink, font.glyphs)));
    EXPECT_TRUE(isEmpty(rasterText(none.view(), std::nanf(""), 0.0f, "A", ink, font.glyphs)));
    EXPECT_EQ(none.count(ink), 0);
}

} // namespace
} // namespace plottest
