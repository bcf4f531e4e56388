// A real window for the plot tests. Once per test process a private X server
// is started and DISPLAY pointed at it; the 1025 x 401 screen is then opened
// there (a process can open only one screen). Call these from the main test
// thread only; the server outlives the window at process exit.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "rig/rgb_image.h"
#include "rig/wait_until.h"
#include "rig/x_client.h"

namespace plottest {

constexpr int testScreenWidth = 1025;
constexpr int testScreenHeight = 401;

// The title the test screen is opened with.
inline constexpr std::string_view testScreenTitle = " [plot test]";

// Starts the X server on the first call, points DISPLAY at it and switches
// the message buses off (DBUS_SESSION_BUS_ADDRESS, DBUS_SYSTEM_BUS_ADDRESS);
// returns its display name. Throws std::runtime_error when it does not come
// up.
const std::string& testDisplay();

struct TestScreen {
    rig::XClient& client;  // the test thread's own connection to the server
    rig::XWindowId window; // the screen's window
};

// Opens the screen on the test display on the first call (title
// testScreenTitle) and finds its window. Throws std::runtime_error when
// either fails.
const TestScreen& testScreen();

// The frame buffer as the window should show it: each pixel's palette
// colour. Read under screenLock.
rig::RgbImage frameThroughPalette();

// Waits until the window shows exactly frameThroughPalette(); false at the
// deadline.
bool waitUntilWindowShowsFrame(std::chrono::milliseconds timeout = rig::rigDeadline);

// The colour spoilWindow paints with; no palette entry has it.
constexpr rig::Rgb spoilColour{0x12, 0x34, 0x56};

// Paints a spoilColour rectangle from (100, 50) to (399, 249) into the
// window behind the refresh thread's back, as an overlapping window would.
void spoilWindow();

// Has the server ask the window to repaint all of itself.
void askForRepaint();

} // namespace plottest
