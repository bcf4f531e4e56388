#include "tests/plot/test_screen.h"

#include <X11/Xlib.h>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <unistd.h>

#include "plot/screen.h"
#include "plot/state/screen_state.h"
#include "rig/xvfb_server.h"

namespace plottest {

namespace {

// The environment a test window lives in: the private server, and no
// message bus, as for any program the rig starts on it.
bool pointEnvironmentAt(const rig::XvfbServer& server)
{
    for (const auto& [name, value] : server.environment()) {
        if (setenv(name.c_str(), value.c_str(), 1) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

const std::string& testDisplay()
{
    // A static, so that it is stopped only after the screen: the window
    // closes in an exit handler registered later, which runs first.
    static const rig::XvfbServer server;
    static const bool pointed = pointEnvironmentAt(server);
    if (!pointed) {
        throw std::runtime_error("cannot set the test environment");
    }
    return server.displayName();
}

namespace {

TestScreen openTestScreen()
{
    static rig::XClient client(testDisplay());
    setWindowTitle(testScreenTitle);
    if (openScreen(testScreenWidth, testScreenHeight, 8, 1, 0, 0) != 0) {
        throw std::runtime_error("the screen did not open on " + testDisplay());
    }
    const rig::XWindowId window = client.findWindowByPid(getpid());
    if (window == 0) {
        throw std::runtime_error("the screen's window did not appear on " + testDisplay());
    }
    return {client, window};
}

} // namespace

const TestScreen& testScreen()
{
    static const TestScreen screen = openTestScreen();
    return screen;
}

rig::RgbImage frameThroughPalette()
{
    const std::lock_guard lock(screenLock);
    rig::RgbImage image{screenWidthPixels, screenHeightPixels, {}};
    const size_t count = static_cast<size_t>(screenWidthPixels) * static_cast<size_t>(screenHeightPixels);
    image.rgb.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        const PaletteEntry colour = screenPalette[screenPixels[i]];
        image.rgb.insert(image.rgb.end(), {colour.red, colour.green, colour.blue});
    }
    return image;
}

bool waitUntilWindowShowsFrame(std::chrono::milliseconds timeout)
{
    const TestScreen& screen = testScreen();
    return rig::waitUntil(
        [&] {
            const rig::RgbImage shown = screen.client.capture(screen.window);
            const rig::RgbImage expected = frameThroughPalette();
            return shown.width == expected.width && shown.height == expected.height && shown.rgb == expected.rgb;
        },
        timeout);
}

void spoilWindow()
{
    const TestScreen& screen = testScreen();
    Display* display = screen.client.display();
    const GC gc = XCreateGC(display, screen.window, 0, nullptr);
    // The server's 24-bit true colour: red, green, blue from the high byte down.
    const unsigned long pixel = static_cast<unsigned long>(spoilColour[0]) << 16 | spoilColour[1] << 8 | spoilColour[2];
    XSetForeground(display, gc, pixel);
    XFillRectangle(display, screen.window, gc, 100, 50, 300, 200);
    XFreeGC(display, gc);
    XSync(display, False);
}

void askForRepaint()
{
    const TestScreen& screen = testScreen();
    // The window has no background of its own, so its content stays as it
    // is and only the exposure arrives.
    XClearArea(screen.client.display(), screen.window, 0, 0, 0, 0, True);
    XSync(screen.client.display(), False);
}

} // namespace plottest
