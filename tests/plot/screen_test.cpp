#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <unistd.h>

#include "plot/logic/font8x8.h"
#include "plot/screen.h"
#include "plot/state/screen_state.h"
#include "tests/plot/logic/raster_canvas.h"
#include "tests/plot/test_screen.h"

namespace plottest {
namespace {

void clearScreen()
{
    drawLine(0.0f, 0.0f, 1024.0f, 400.0f, 0, shapeFilledBox, solidStyle);
}

// The frame buffer as a canvas, read under screenLock.
Canvas frameCanvas()
{
    const std::lock_guard lock(screenLock);
    Canvas canvas(screenWidthPixels, screenHeightPixels);
    std::copy(screenPixels, screenPixels + canvas.pixels.size(), canvas.pixels.begin());
    return canvas;
}

bool windowHasColour(rig::Rgb colour)
{
    const TestScreen& screen = testScreen();
    const rig::RgbImage shown = screen.client.capture(screen.window);
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            if (shown.pixel(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

TEST(ScreenDrawing, EachShapeAndTextUseTheLowEightBitsOfTheColour)
{
    testScreen();
    clearScreen();
    drawLine(-20.5f, 7.0f, 1100.0f, 390.25f, 0x12345609, shapeLine, 0xF0F3);
    drawLine(30.0f, 300.0f, 5.0f, 20.0f, 0xFFFFFF0C, shapeBox, solidStyle);
    drawLine(600.0f, 10.0f, 640.4f, 30.0f, 0x10E, shapeFilledBox, 0);
    drawText(1010.0f, 396.0f, "\xDB\x41\x42", 0x0B);
    drawLine(1.0f, 1.0f, 9.0f, 9.0f, 14, 7, solidStyle); // no such shape: nothing

    Canvas expected(testScreenWidth, testScreenHeight);
    rasterLine(expected.view(), -20.5f, 7.0f, 1100.0f, 390.25f, 0x09, 0xF0F3);
    rasterBox(expected.view(), 30.0f, 300.0f, 5.0f, 20.0f, 0x0C, solidStyle);
    rasterFilledBox(expected.view(), 600.0f, 10.0f, 640.4f, 30.0f, 0x0E);
    rasterText(expected.view(), 1010.0f, 396.0f, "\xDB\x41\x42", 0x0B, fontGlyphs);
    EXPECT_TRUE(frameCanvas().pixels == expected.pixels);
    EXPECT_GT(expected.count(0x0E), 0);
    EXPECT_GT(expected.count(0x0B), 5 * 6);
}

TEST(ScreenWindow, ReportsItsGeometryAndRefusesASecondScreen)
{
    const TestScreen& screen = testScreen();
    const ScreenInfo info = screenInfo();
    EXPECT_EQ(info.width, 1025);
    EXPECT_EQ(info.height, 401);
    EXPECT_EQ(info.depth, 8);
    EXPECT_EQ(info.bytesPerPixel, 1);
    EXPECT_EQ(info.pitch, 1025);
    EXPECT_GE(info.refreshRate, 0);
    EXPECT_STREQ(info.driver, "x11");
    const rig::WindowGeometry geometry = screen.client.geometry(screen.window);
    EXPECT_EQ(geometry.width, 1025);
    EXPECT_EQ(geometry.height, 401);

    EXPECT_EQ(openScreen(1025, 401, 8, 1, 0, 0), 1);
    EXPECT_EQ(openScreen(300, 200, 8, 1, 0, 0), 1);
    EXPECT_EQ(screenInfo().width, 1025);
}

TEST(ScreenWindow, ShowsTheFrameBufferThroughThePalette)
{
    testScreen();
    clearScreen();
    for (int i = 0; i < 256; ++i) {
        // Every palette entry in a 4 x 4 cell, 64 cells to a row.
        const auto x = static_cast<float>(i % 64 * 16);
        const auto y = static_cast<float>(i / 64 * 16 + 40);
        drawLine(x, y, x + 3.0f, y + 3.0f, static_cast<uint32_t>(i), shapeFilledBox, solidStyle);
    }
    drawText(8.0f, 8.0f, "Window services", 14);
    drawLine(0.0f, 400.0f, 1024.0f, 120.0f, 10, shapeLine, solidStyle);
    ASSERT_TRUE(waitUntilWindowShowsFrame());

    // Two small changes far apart, and a redrawn row that stays as it was.
    drawLine(1024.0f, 399.0f, 1024.0f, 399.0f, 15, shapeLine, solidStyle);
    drawText(-3.0f, 2.0f, "\xDB", 12);
    drawText(8.0f, 8.0f, "Window services", 14);
    EXPECT_TRUE(waitUntilWindowShowsFrame());

    // A row changed and changed back between passes still shows, and so does
    // a row cleared after it.
    drawLine(0.0f, 200.0f, 1024.0f, 200.0f, 9, shapeLine, solidStyle);
    drawLine(0.0f, 200.0f, 1024.0f, 200.0f, 0, shapeLine, solidStyle);
    drawLine(0.0f, 0.0f, 1024.0f, 0.0f, 0, shapeLine, solidStyle);
    EXPECT_TRUE(waitUntilWindowShowsFrame());
}

TEST(ScreenWindow, PaletteChangeRecoloursTheWholeWindow)
{
    testScreen();
    clearScreen();
    drawLine(10.0f, 300.0f, 900.0f, 20.0f, 10, shapeLine, solidStyle);
    drawText(40.0f, 380.0f, "palette", 14);
    ASSERT_TRUE(waitUntilWindowShowsFrame());

    PaletteEntry original[paletteSize];
    {
        const std::lock_guard lock(screenLock);
        std::copy(std::begin(screenPalette), std::end(screenPalette), std::begin(original));
        screenPalette[0] = {0x21, 0x43, 0x65};
        screenPalette[10] = {0xFE, 0x01, 0x80};
        paletteChanged = true;
    }
    EXPECT_TRUE(waitUntilWindowShowsFrame());
    EXPECT_TRUE(windowHasColour({0xFE, 0x01, 0x80}));

    {
        const std::lock_guard lock(screenLock);
        std::copy(std::begin(original), std::end(original), std::begin(screenPalette));
        paletteChanged = true;
    }
    EXPECT_TRUE(waitUntilWindowShowsFrame());
}

TEST(ScreenWindow, RepaintRequestCopiesTheWholeFrame)
{
    testScreen();
    clearScreen();
    drawLine(120.0f, 60.0f, 380.0f, 240.0f, 13, shapeBox, solidStyle);
    ASSERT_TRUE(waitUntilWindowShowsFrame());
    spoilWindow();
    ASSERT_TRUE(windowHasColour(spoilColour));
    askForRepaint();
    EXPECT_TRUE(waitUntilWindowShowsFrame());
}

TEST(ScreenWindow, TitleChangesWhileOpenAndKeeps127Bytes)
{
    const TestScreen& screen = testScreen();
    EXPECT_TRUE(rig::waitUntil([&] { return screen.client.windowTitle(screen.window) == testScreenTitle; }));
    std::string title = " [";
    while (title.size() < 200) {
        title += static_cast<char>('a' + title.size() % 26);
    }
    setWindowTitle(title);
    EXPECT_TRUE(rig::waitUntil([&] { return screen.client.windowTitle(screen.window) == title.substr(0, 127); }))
        << screen.client.windowTitle(screen.window);
    setWindowTitle(testScreenTitle);
    EXPECT_TRUE(rig::waitUntil([&] { return screen.client.windowTitle(screen.window) == testScreenTitle; }));
}

// The drawing of one thread, kept to rows top..top+199 so that two threads
// with different tops give the same frame in any interleaving.
template <typename Line, typename Text>
void drawBand(int32_t top, uint32_t colour, int rounds, Line line, Text text)
{
    const auto y0 = static_cast<float>(top);
    for (int round = 0; round < rounds; ++round) {
        const auto c = static_cast<uint32_t>(colour + static_cast<uint32_t>(round));
        line(0.0f, y0, 1024.0f, y0 + 199.0f, c, shapeFilledBox);
        for (int x = 0; x < 1024; x += 3) {
            const auto fx = static_cast<float>(x);
            line(fx, y0 + static_cast<float>(x % 200), fx + 1.0f, y0 + static_cast<float>((x * 7) % 200), c + 1,
                 shapeLine);
        }
        line(-5.0f, y0 + 10.0f, 2000.0f, y0 + 190.0f, c + 2, shapeBox);
        text(-3.0f, y0 + 100.0f, "Two threads draw at once", c + 3);
    }
}

TEST(ScreenConcurrency, TwoThreadsDrawWhileTheRefreshRuns)
{
    testScreen();
    clearScreen();
    const auto onScreen = [](float x1, float y1, float x2, float y2, uint32_t colour, int32_t shape) {
        drawLine(x1, y1, x2, y2, colour, shape, solidStyle);
        screenInfo();
    };
    const auto textOnScreen = [](float x, float y, const char* text, uint32_t colour) { drawText(x, y, text, colour); };
    std::thread upper([&] { drawBand(0, 20, 40, onScreen, textOnScreen); });
    std::thread lower([&] { drawBand(200, 100, 40, onScreen, textOnScreen); });
    upper.join();
    lower.join();

    Canvas expected(testScreenWidth, testScreenHeight);
    const auto onCanvas = [&](float x1, float y1, float x2, float y2, uint32_t colour, int32_t shape) {
        const auto index = static_cast<uint8_t>(colour);
        if (shape == shapeFilledBox) {
            rasterFilledBox(expected.view(), x1, y1, x2, y2, index);
        } else if (shape == shapeBox) {
            rasterBox(expected.view(), x1, y1, x2, y2, index, solidStyle);
        } else {
            rasterLine(expected.view(), x1, y1, x2, y2, index, solidStyle);
        }
    };
    const auto textOnCanvas = [&](float x, float y, const char* text, uint32_t colour) {
        rasterText(expected.view(), x, y, text, static_cast<uint8_t>(colour), fontGlyphs);
    };
    drawBand(0, 20, 40, onCanvas, textOnCanvas);
    drawBand(200, 100, 40, onCanvas, textOnCanvas);
    EXPECT_TRUE(frameCanvas().pixels == expected.pixels);
    EXPECT_TRUE(waitUntilWindowShowsFrame());
}

// Each death test below runs in a fresh process of its own (the threadsafe
// style re-runs this program), since a process opens one screen only. The
// child reports what went wrong on stderr and exits with 1.
int failWith(const std::string& reason)
{
    std::cerr << reason << std::endl;
    return 1;
}

int checkNoDisplay()
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    const ScreenInfo desktop = screenInfo();
    if (desktop.width != 0 || desktop.height != 0 || desktop.depth != 0 || desktop.refreshRate != 0 ||
        desktop.driver[0] != '\0') {
        return failWith("desktop reported without a display");
    }
    if (openScreen(1025, 401, 8, 1, 0, 0) != 1 || screenIsOpen) {
        return failWith("screen opened without a display");
    }
    drawLine(0.0f, 0.0f, 100.0f, 100.0f, 10, shapeFilledBox, solidStyle);
    drawText(0.0f, 0.0f, "nothing", 14);
    if (screenInfo().width != 0 || screenPixels != nullptr) {
        return failWith("a frame buffer is left behind");
    }
    return 0;
}

int checkDesktopThenBlackScreen()
{
    const std::string& display = testDisplay();
    const ScreenInfo desktop = screenInfo();
    if (desktop.width != 1280 || desktop.height != 800 || desktop.depth != 24 || desktop.bytesPerPixel != 0 ||
        desktop.pitch != 0 || desktop.driver[0] != '\0') {
        return failWith("desktop " + std::to_string(desktop.width) + " x " + std::to_string(desktop.height) + " x " +
                        std::to_string(desktop.depth) + ", driver '" + desktop.driver + "'");
    }
    if (openScreen(1025, 401, 7, 1, 0, 0) != 1 || openScreen(0, 401, 8, 1, 0, 0) != 1 ||
        openScreen(1025, -1, 8, 1, 0, 0) != 1 || openScreen(1025, 401, 0, 1, 0, 0) != 1 || screenIsOpen) {
        return failWith("bad arguments opened a screen");
    }
    {
        rig::XClient client(display);
        if (client.findWindowByPid(getpid(), std::chrono::milliseconds(500)) != 0) {
            return failWith("bad arguments made a window");
        }
    }
    const TestScreen& screen = testScreen();
    if (std::any_of(screenPixels, screenPixels + 1025 * 401, [](uint8_t pixel) { return pixel != 0; })) {
        return failWith("the frame buffer does not start at colour 0");
    }
    if (!waitUntilWindowShowsFrame()) {
        return failWith("the window does not show the black frame");
    }
    const rig::RgbImage shown = screen.client.capture(screen.window);
    if (shown.width != 1025 || shown.height != 401 ||
        std::any_of(shown.rgb.begin(), shown.rgb.end(), [](uint8_t value) { return value != 0; })) {
        return failWith("the window is not 1025 x 401 and black");
    }
    return 0;
}

int checkProgramNameTitle()
{
    rig::XClient client(testDisplay());
    if (openScreen(1025, 401, 8, 0, 0, 0) != 0) {
        return failWith("no screen");
    }
    const rig::XWindowId window = client.findWindowByPid(getpid());
    if (client.windowTitle(window) != "plot_window_test") {
        return failWith("title '" + client.windowTitle(window) + "'");
    }
    return 0;
}

// Exits while two threads keep drawing and the refresh keeps copying.
int exitWhileDrawing()
{
    testScreen();
    for (int t = 0; t < 2; ++t) {
        std::thread([t] {
            for (int i = 0;; ++i) {
                drawLine(static_cast<float>(i % 1025), 0.0f, static_cast<float>(t * 1024), 400.0f,
                         static_cast<uint32_t>(i), shapeLine, solidStyle);
                drawText(static_cast<float>(i % 900), static_cast<float>(i % 390), "exit", 14);
            }
        }).detach();
    }
    if (!rig::waitUntil([] { return windowHasColour({255, 255, 85}); })) {
        return failWith("the drawing never showed");
    }
    return 0;
}

TEST(ScreenDeathTest, WithoutADisplayNothingOpensAndDrawingDoesNothing)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(checkNoDisplay()), testing::ExitedWithCode(0), "");
}

TEST(ScreenDeathTest, DesktopBeforeOpenBadArgumentsOpenNothingThenABlackScreen)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(checkDesktopThenBlackScreen()), testing::ExitedWithCode(0), "");
}

TEST(ScreenDeathTest, WithoutATitleTheWindowIsNamedAfterTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(checkProgramNameTitle()), testing::ExitedWithCode(0), "");
}

TEST(ScreenDeathTest, ExitWhileThreadsDrawEndsTheProcessCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(exitWhileDrawing()), testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace plottest
