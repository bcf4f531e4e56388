#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "plot/plot_helpers.h"
#include "plot/screen.h"
#include "plot/state/screen_state.h"
#include "tests/plot/test_screen.h"

namespace plottest {
namespace {

constexpr int64_t plotHeight = testScreenHeight;

// A rectangle of plot coordinates, both ends included.
struct PlotRect {
    int64_t left;
    int64_t bottom;
    int64_t right;
    int64_t top;
    bool operator==(const PlotRect&) const = default;
};

void openAndClear()
{
    testScreen();
    drawLine(0.0f, 0.0f, 1024.0f, 400.0f, 0, shapeFilledBox, 0xFFFF);
}

std::vector<uint8_t> frame()
{
    const std::lock_guard lock(screenLock);
    return {screenPixels, screenPixels + static_cast<size_t>(screenWidthPixels) * screenHeightPixels};
}

uint8_t plotPixel(const std::vector<uint8_t>& pixels, int64_t x, int64_t y)
{
    return pixels[static_cast<size_t>((plotHeight - 1 - y) * testScreenWidth + x)];
}

int64_t countColour(const std::vector<uint8_t>& pixels, uint8_t colour)
{
    return std::count(pixels.begin(), pixels.end(), colour);
}

// The smallest plot rectangle around every pixel of the colour, and whether
// the colour fills it completely.
struct Coverage {
    PlotRect bounds;
    bool filled;
};

Coverage coverage(const std::vector<uint8_t>& pixels, uint8_t colour)
{
    PlotRect bounds{testScreenWidth, plotHeight, -1, -1};
    for (int64_t y = 0; y < plotHeight; ++y) {
        for (int64_t x = 0; x < testScreenWidth; ++x) {
            if (plotPixel(pixels, x, y) == colour) {
                bounds = {std::min(bounds.left, x), std::min(bounds.bottom, y), std::max(bounds.right, x),
                          std::max(bounds.top, y)};
            }
        }
    }
    const int64_t area = (bounds.right - bounds.left + 1) * (bounds.top - bounds.bottom + 1);
    return {bounds, countColour(pixels, colour) == area};
}

TEST(PlotHelpers, ScreenSizeComesFromTheOpenScreen)
{
    testScreen();
    EXPECT_EQ(screenWidth(), 1025);
    EXPECT_EQ(screenHeight(), 401);
}

TEST(PlotHelpers, PointsCountRowsFromTheBottom)
{
    openAndClear();
    plotPoint(0, 0, 10);
    plotPoint(1024, 400, 14);
    plotPoint(7, 3, 11);
    const std::vector<uint8_t> pixels = frame();
    EXPECT_EQ(pixels[400 * 1025 + 0], 10);
    EXPECT_EQ(pixels[0 * 1025 + 1024], 14);
    EXPECT_EQ(pixels[397 * 1025 + 7], 11);
    EXPECT_EQ(countColour(pixels, 0), 1025 * 401 - 3);
}

TEST(PlotHelpers, PointsOffTheScreenDrawNothing)
{
    openAndClear();
    plotPoint(5, -1, 10);
    plotPoint(5, 401, 10);
    plotPoint(-1, 5, 10);
    plotPoint(1025, 5, 10);
    plotPoint(-70000, 90000, 10);
    EXPECT_EQ(countColour(frame(), 0), 1025 * 401);
}

TEST(PlotHelpers, ColourPassesOnItsLowBits)
{
    openAndClear();
    plotPoint(3, 3, 0x70000010A);
    EXPECT_EQ(plotPixel(frame(), 3, 3), 10);
}

TEST(PlotHelpers, LineConvertsBothEnds)
{
    openAndClear();
    // Screen (10, 380) to (14, 379): one step up halfway along.
    plotLine(10, 20, 14, 21, 10);
    const std::vector<uint8_t> pixels = frame();
    EXPECT_EQ(countColour(pixels, 10), 5);
    for (const auto& [x, y] : {std::pair{10, 20}, {11, 20}, {12, 21}, {13, 21}, {14, 21}}) {
        EXPECT_EQ(plotPixel(pixels, x, y), 10) << x << ", " << y;
    }
}

TEST(PlotHelpers, LineAcrossTheWindowIsTheClippedServiceLine)
{
    openAndClear();
    plotLine(-300, -50, 1400, 470, 12);
    const std::vector<uint8_t> helperFrame = frame();
    openAndClear();
    drawLine(-300.0f, 450.0f, 1400.0f, -70.0f, 12, shapeLine, 0xFFFF);
    EXPECT_TRUE(helperFrame == frame());
    EXPECT_GT(countColour(helperFrame, 12), 1000);
}

TEST(PlotHelpers, StyledLineTakesTheMaskFromItsFirstEnd)
{
    openAndClear();
    plotLineStyled(17, 5, 0, 5, 9, 0xAAAA);
    const std::vector<uint8_t> pixels = frame();
    EXPECT_EQ(countColour(pixels, 9), 9);
    for (int64_t x = 1; x <= 17; x += 2) {
        EXPECT_EQ(plotPixel(pixels, x, 5), 9) << x;
    }
}

TEST(PlotHelpers, FilledBoxCoversBothCornersInAnyOrder)
{
    openAndClear();
    plotFilledBox(7, 3, 2, 9, 13);
    const Coverage covered = coverage(frame(), 13);
    EXPECT_EQ(covered.bounds, (PlotRect{2, 3, 7, 9}));
    EXPECT_TRUE(covered.filled);
}

TEST(PlotHelpers, FilledBoxBeyondTheScreenFillsAllOfIt)
{
    openAndClear();
    plotFilledBox(0, 0, 1025, 401, 6);
    EXPECT_EQ(countColour(frame(), 6), 1025 * 401);
}

TEST(PlotHelpers, BoxDrawsOnlyTheEdges)
{
    openAndClear();
    plotBox(40, 30, 45, 33, 5);
    const std::vector<uint8_t> pixels = frame();
    EXPECT_EQ(coverage(pixels, 5).bounds, (PlotRect{40, 30, 45, 33}));
    EXPECT_EQ(countColour(pixels, 5), 2 * 6 + 2 * 2);
    EXPECT_EQ(plotPixel(pixels, 41, 31), 0);
}

TEST(PlotHelpers, TextsBottomLeftPixelLandsOnThePoint)
{
    openAndClear();
    plotText(20, 30, "\xDB\xDB", 14);
    const Coverage covered = coverage(frame(), 14);
    EXPECT_EQ(covered.bounds, (PlotRect{20, 30, 35, 37}));
    EXPECT_TRUE(covered.filled);
}

TEST(PlotHelpers, TextIsTheServiceTextEightRowsUp)
{
    openAndClear();
    plotText(-3, 100, "Ag%", 11);
    const std::vector<uint8_t> helperFrame = frame();
    openAndClear();
    drawText(-3.0f, 293.0f, "Ag%", 11);
    EXPECT_TRUE(helperFrame == frame());
}

TEST(PlotHelpers, TextAtTheTopKeepsOnlyItsBottomRows)
{
    openAndClear();
    plotText(100, plotHeight - 4, "\xDB", 14);
    const Coverage covered = coverage(frame(), 14);
    EXPECT_EQ(covered.bounds, (PlotRect{100, 397, 107, 400}));
    EXPECT_TRUE(covered.filled);
}

TEST(PlotHelpers, BoldTextSpreadsOnePixelEveryWay)
{
    openAndClear();
    plotTextBold(20, 30, "\xDB", 10);
    plotTextBold(200, 30, "", 10);
    const Coverage covered = coverage(frame(), 10);
    EXPECT_EQ(covered.bounds, (PlotRect{19, 29, 28, 38}));
    EXPECT_TRUE(covered.filled);
}

TEST(PlotHelpers, BackingCoversTheTextAndOneMoreOnTheLeftBottomAndTop)
{
    openAndClear();
    plotTextBacking(4, 4, 29, 7);
    const Coverage covered = coverage(frame(), 7);
    EXPECT_EQ(covered.bounds, (PlotRect{3, 3, 235, 12}));
    EXPECT_TRUE(covered.filled);
}

TEST(PlotHelpers, BackingOfNoCharactersDrawsNothing)
{
    openAndClear();
    plotTextBacking(4, 4, 0, 7);
    plotTextBacking(40, 40, -5, 7);
    EXPECT_EQ(countColour(frame(), 0), 1025 * 401);
}

} // namespace
} // namespace plottest
