#include <gtest/gtest.h>

#include <vector>

#include "plot/logic/frame_convert.h"
#include "plot/logic/palette.h"

namespace {

struct Rgb {
    int red;
    int green;
    int blue;
};

void expectEntry(const PaletteEntry (&palette)[paletteSize], int index, Rgb rgb)
{
    EXPECT_EQ(palette[index].red, rgb.red) << "index " << index;
    EXPECT_EQ(palette[index].green, rgb.green) << "index " << index;
    EXPECT_EQ(palette[index].blue, rgb.blue) << "index " << index;
}

class Palette : public testing::Test {
protected:
    Palette() { setDefaultPalette(palette); }
    PaletteEntry palette[paletteSize];
};

TEST_F(Palette, BasicColoursAndGreyRamp)
{
    const Rgb basic[16] = {{0, 0, 0},     {0, 0, 170},    {0, 170, 0},    {0, 170, 170},
                           {170, 0, 0},   {170, 0, 170},  {170, 85, 0},   {170, 170, 170},
                           {85, 85, 85},  {85, 85, 255},  {85, 255, 85},  {85, 255, 255},
                           {255, 85, 85}, {255, 85, 255}, {255, 255, 85}, {255, 255, 255}};
    const int grey[16] = {0, 20, 32, 44, 56, 68, 80, 97, 113, 129, 145, 161, 182, 202, 226, 255};
    for (int i = 0; i < 16; ++i) {
        expectEntry(palette, i, basic[i]);
        expectEntry(palette, 16 + i, {grey[i], grey[i], grey[i]});
    }
}

TEST_F(Palette, HueRunsStartAtBlueAndPassTheCornersEveryFourSteps)
{
    expectEntry(palette, 32, {0, 0, 255});
    expectEntry(palette, 40, {255, 0, 0});
    expectEntry(palette, 44, {255, 255, 0});
    expectEntry(palette, 48, {0, 255, 0});
    const int highLow[9][2] = {{255, 0},  {255, 125}, {255, 182}, {113, 0}, {113, 56},
                               {113, 80}, {64, 0},    {64, 32},   {64, 44}};
    for (int run = 0; run < 9; ++run) {
        const int high = highLow[run][0];
        const int low = highLow[run][1];
        const int start = 32 + 24 * run;
        SCOPED_TRACE("run " + std::to_string(run));
        expectEntry(palette, start, {low, low, high});       // blue
        expectEntry(palette, start + 4, {high, low, high});  // magenta
        expectEntry(palette, start + 8, {high, low, low});   // red
        expectEntry(palette, start + 12, {high, high, low}); // yellow
        expectEntry(palette, start + 16, {low, high, low});  // green
        expectEntry(palette, start + 20, {low, high, high}); // cyan
        // Between corners one component at a time moves, strictly, within low..high.
        for (int i = start; i < start + 24; ++i) {
            const PaletteEntry a = palette[i];
            const PaletteEntry b = palette[i == start + 23 ? start : i + 1];
            const int moved = (a.red != b.red) + (a.green != b.green) + (a.blue != b.blue);
            EXPECT_EQ(moved, 1) << "index " << i;
            for (const int component : {a.red, a.green, a.blue}) {
                EXPECT_GE(component, low);
                EXPECT_LE(component, high);
            }
        }
    }
}

TEST_F(Palette, LastEightAreBlack)
{
    for (int i = 248; i < paletteSize; ++i) {
        expectEntry(palette, i, {0, 0, 0});
    }
}

TEST_F(Palette, XrgbPutsRedHighAndBlueLow)
{
    palette[200] = {0x12, 0x34, 0x56};
    uint32_t xrgb[paletteSize];
    paletteToXrgb(palette, xrgb);
    EXPECT_EQ(xrgb[14], 0x00FFFF55u);
    EXPECT_EQ(xrgb[200], 0x00123456u);
    EXPECT_EQ(xrgb[0], 0u);
}

TEST(FrameConvert, LooksUpEachPixelAndKeepsOutsideThePitch)
{
    uint32_t xrgb[paletteSize];
    for (int i = 0; i < paletteSize; ++i) {
        xrgb[i] = 0x00010203u * static_cast<uint32_t>(i) + 0x00A00000u;
    }
    // Rows 1 and 2 of a 3 x 4 frame into an output with two spare pixels per row.
    const uint8_t frame[4][3] = {{9, 9, 9}, {1, 255, 0}, {77, 3, 128}, {9, 9, 9}};
    constexpr int pitchPixels = 5;
    std::vector<uint32_t> out(2 * pitchPixels, 0xDEADBEEF);
    convertRows(frame[1], 3, 2, xrgb, reinterpret_cast<uint8_t*>(out.data()), pitchPixels * 4);
    const std::vector<uint32_t> expected = {xrgb[1],  xrgb[255], xrgb[0],   0xDEADBEEF, 0xDEADBEEF,
                                            xrgb[77], xrgb[3],   xrgb[128], 0xDEADBEEF, 0xDEADBEEF};
    EXPECT_EQ(out, expected);
}

} // namespace
