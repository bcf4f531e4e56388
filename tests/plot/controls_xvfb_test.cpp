#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "plot/controls.h"
#include "plot/plot_helpers.h"
#include "plot/state/screen_state.h"
#include "tests/plot/test_screen.h"

namespace plottest {
namespace {

// One getMouse reading.
struct MouseReading {
    int32_t result = 0;
    int64_t x = 0;
    int64_t y = 0;
    int64_t wheel = 0;
    int64_t buttons = 0;
    int64_t clip = 0;
};

MouseReading readMouse()
{
    MouseReading reading;
    reading.result = getMouse(reading.x, reading.y, reading.wheel, reading.buttons, reading.clip);
    return reading;
}

bool mouseUnreadable(const MouseReading& reading)
{
    return reading.result == 1 && reading.x == -1 && reading.y == -1 && reading.wheel == -1 && reading.buttons == -1 &&
           reading.clip == -1;
}

// Puts the pointer on (x, y) of the active window and waits until the mouse
// reads there. Only then do button presses count: the window clears the
// buttons when its activation comes through, which can be a while after the
// focus moved.
bool pointerOverActiveWindow(const TestScreen& screen, int x, int y)
{
    screen.client.movePointer(screen.window, x, y);
    return rig::waitUntil([&] {
        const MouseReading reading = readMouse();
        return reading.result == 0 && reading.x == x && reading.y == y;
    });
}

// The screen, with its window active (as far as the window itself knows:
// the pointer reads over it) and no key waiting.
const TestScreen& activeScreen()
{
    const TestScreen& screen = testScreen();
    EXPECT_TRUE(screen.client.focusWindow(screen.window));
    EXPECT_TRUE(pointerOverActiveWindow(screen, 512, 200));
    while (!pollKey().empty()) {
    }
    return screen;
}

// The texts of the next count keys, waiting for each; fewer when the
// deadline passes first.
std::vector<std::string> nextKeys(size_t count)
{
    std::vector<std::string> keys;
    rig::waitUntil([&] {
        for (std::string key = pollKey(); !key.empty(); key = pollKey()) {
            keys.push_back(key);
        }
        return keys.size() >= count;
    });
    return keys;
}

using Keys = std::vector<std::string>;

// Types the key as a person would, leaving a gap before the next key: SDL
// takes a key release that the server stamped within a millisecond or two of
// the next key press for an auto-repeat and drops it, which would leave a
// modifier held down for the keys that follow.
void typeKeyApart(const TestScreen& screen, rig::KeySymbol key, const std::vector<rig::KeySymbol>& modifiers = {})
{
    screen.client.typeKey(key, modifiers);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// Types the key and returns the texts of the keys it queued.
Keys typeAndTake(const TestScreen& screen, rig::KeySymbol key, const std::vector<rig::KeySymbol>& modifiers = {})
{
    typeKeyApart(screen, key, modifiers);
    return nextKeys(1);
}

TEST(ControlsKeys, TypedCharactersArriveAsTheirCodes)
{
    const TestScreen& screen = activeScreen();
    typeKeyApart(screen, XK_a);
    typeKeyApart(screen, XK_b, {XK_Shift_L});
    typeKeyApart(screen, XK_7);
    typeKeyApart(screen, XK_space);
    EXPECT_EQ(nextKeys(4), (Keys{"a", "B", "7", " "}));
}

TEST(ControlsKeys, EscapeCtrlCEnterAndCursorKeys)
{
    const TestScreen& screen = activeScreen();
    EXPECT_EQ(typeAndTake(screen, XK_Escape), Keys{"\x1b"});
    EXPECT_EQ(typeAndTake(screen, XK_c, {XK_Control_L}), Keys{"\x03"});
    EXPECT_EQ(typeAndTake(screen, XK_Up), Keys{"\xff\x48"});
    EXPECT_EQ(typeAndTake(screen, XK_Right, {XK_Control_L}), Keys{"\xff\x74"});
    EXPECT_EQ(typeAndTake(screen, XK_F1, {XK_Shift_L}), Keys{"\xff\x54"});
    EXPECT_EQ(typeAndTake(screen, XK_Return), Keys{"\r"});
    EXPECT_EQ(typeAndTake(screen, XK_a, {XK_Control_L}), Keys{"\x01"});
}

TEST(ControlsKeys, F10AndAltAloneQueueNothing)
{
    const TestScreen& screen = activeScreen();
    typeKeyApart(screen, XK_F10);
    typeKeyApart(screen, XK_Alt_L);
    typeKeyApart(screen, XK_F4, {XK_Alt_L});
    EXPECT_EQ(typeAndTake(screen, XK_z), Keys{"z"});
    EXPECT_TRUE(screen.client.windowExists(screen.window));
}

TEST(ControlsKeys, EachAutoRepeatQueuesTheKeyAgain)
{
    const TestScreen& screen = activeScreen();
    screen.client.pressKey(XK_Down);
    const Keys keys = nextKeys(3);
    screen.client.releaseKey(XK_Down);
    EXPECT_EQ(keys, Keys(keys.size(), "\xff\x50"));
    EXPECT_GE(keys.size(), 3U);
    // A held letter repeats through its text. Repeats of the arrow that
    // came before its release may still be on their way in.
    screen.client.pressKey(XK_k);
    Keys letters;
    rig::waitUntil([&] {
        for (std::string key = pollKey(); !key.empty(); key = pollKey()) {
            if (!letters.empty() || key != "\xff\x50") {
                letters.push_back(key);
            }
        }
        return letters.size() >= 3;
    });
    screen.client.releaseKey(XK_k);
    EXPECT_EQ(letters, Keys(letters.size(), "k"));
    EXPECT_GE(letters.size(), 3U);
    // Kept apart from the next test's keys, as typeKeyApart does.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST(ControlsKeys, CloseRequestQueuesTheCloseKeyOnceAndTheWindowStays)
{
    const TestScreen& screen = activeScreen();
    screen.client.requestClose(screen.window);
    EXPECT_EQ(nextKeys(1), (Keys{"\xff\x6b"}));
    // Whatever else the request brings must not queue a second close key.
    EXPECT_EQ(typeAndTake(screen, XK_q), Keys{"q"});
    EXPECT_TRUE(screen.client.windowExists(screen.window));
    EXPECT_TRUE(screenIsOpen);
}

// Releases every button the test may have pressed and the confinement, so
// that a failing check leaves the pointer free for the next test.
struct PointerReset {
    const TestScreen& screen;
    ~PointerReset()
    {
        for (const int button : {1, 2, 3}) {
            screen.client.releaseButton(button);
        }
        setMouse(keepMouse, keepMouse, 1, 0);
    }
};

TEST(ControlsMouse, PositionAndHeldButtonsOverTheActiveWindow)
{
    const TestScreen& screen = activeScreen();
    const PointerReset reset{screen};
    ASSERT_TRUE(pointerOverActiveWindow(screen, 100, 50));
    EXPECT_EQ(readMouse().buttons, 0);
    EXPECT_EQ(mouseX(), 100);
    EXPECT_EQ(mouseY(), 350);

    screen.client.pressButton(1);
    EXPECT_TRUE(rig::waitUntil([] { return readMouse().buttons == 1; }));
    EXPECT_TRUE(mouseLeft());
    EXPECT_FALSE(mouseRight());
    screen.client.pressButton(3);
    EXPECT_TRUE(rig::waitUntil([] { return readMouse().buttons == 3; }));
    EXPECT_TRUE(mouseRight());
    screen.client.releaseButton(1);
    EXPECT_TRUE(rig::waitUntil([] { return readMouse().buttons == 2; }));
    EXPECT_FALSE(mouseLeft());
    screen.client.releaseButton(3);
    screen.client.pressButton(2);
    EXPECT_TRUE(rig::waitUntil([] { return readMouse().buttons == 4; }));
    EXPECT_TRUE(mouseMiddle());
    screen.client.releaseButton(2);
    EXPECT_TRUE(rig::waitUntil([] { return readMouse().buttons == 0; }));
}

TEST(ControlsMouse, PlotYCountsFromTheBottomRow)
{
    const TestScreen& screen = activeScreen();
    screen.client.movePointer(screen.window, 5, 400);
    EXPECT_TRUE(rig::waitUntil([] { return mouseY() == 0; }));
    screen.client.movePointer(screen.window, 1024, 0);
    EXPECT_TRUE(rig::waitUntil([] { return mouseY() == 400 && mouseX() == 1024; }));
}

TEST(ControlsMouse, WheelCountsNotchesAwayFromTheUser)
{
    const TestScreen& screen = activeScreen();
    ASSERT_TRUE(pointerOverActiveWindow(screen, 300, 200));
    const int64_t before = readMouse().wheel;
    screen.client.clickButton(4);
    screen.client.clickButton(4);
    EXPECT_TRUE(rig::waitUntil([&] { return readMouse().wheel == before + 2; }));
    screen.client.clickButton(5);
    EXPECT_TRUE(rig::waitUntil([&] { return readMouse().wheel == before + 1; }));
}

TEST(ControlsMouse, UnreadableOutsideTheWindowEvenWithAButtonHeld)
{
    const TestScreen& screen = activeScreen();
    const PointerReset reset{screen};
    ASSERT_TRUE(pointerOverActiveWindow(screen, 500, 200));
    screen.client.pressButton(1);
    ASSERT_TRUE(rig::waitUntil([] { return readMouse().buttons == 1; }));
    screen.client.movePointerOnScreen(5, 5);
    EXPECT_TRUE(rig::waitUntil([] { return mouseUnreadable(readMouse()); }));
    EXPECT_FALSE(mouseLeft());
    EXPECT_EQ(mouseX(), -1);
    EXPECT_EQ(mouseY(), -1);
    screen.client.releaseButton(1);
    screen.client.movePointer(screen.window, 501, 201);
    EXPECT_TRUE(rig::waitUntil([] {
        const MouseReading reading = readMouse();
        return reading.result == 0 && reading.x == 501 && reading.buttons == 0;
    }));
}

TEST(ControlsMouse, UnreadableWhileAnotherWindowIsActiveAndButtonsForgotten)
{
    const TestScreen& screen = activeScreen();
    const PointerReset reset{screen};
    ASSERT_TRUE(pointerOverActiveWindow(screen, 400, 100));
    screen.client.pressButton(3);
    ASSERT_TRUE(rig::waitUntil([] { return readMouse().buttons == 2; }));
    ASSERT_NE(screen.client.focusOtherWindow(), 0UL);
    EXPECT_TRUE(rig::waitUntil([] { return mouseUnreadable(readMouse()); }));
    EXPECT_FALSE(mouseRight());
    // Back to the window with the button still down: the change of
    // activation has cleared it.
    ASSERT_TRUE(screen.client.focusWindow(screen.window));
    EXPECT_TRUE(rig::waitUntil([] {
        const MouseReading reading = readMouse();
        return reading.result == 0 && reading.buttons == 0;
    }));
}

TEST(SetMouse, MovesTheRealPointerClampedIntoTheScreen)
{
    const TestScreen& screen = activeScreen();
    const auto pointerAt = [&](int x, int y) {
        return rig::waitUntil([&] {
            const rig::PointerState pointer = screen.client.pointer(screen.window);
            return pointer.windowX == x && pointer.windowY == y;
        });
    };
    EXPECT_EQ(setMouse(200, 100, -1, -1), 0);
    EXPECT_TRUE(pointerAt(200, 100));
    EXPECT_TRUE(rig::waitUntil([] {
        const MouseReading reading = readMouse();
        return reading.result == 0 && reading.x == 200 && reading.y == 100;
    }));
    EXPECT_EQ(setMouse(5000, -7, -1, -1), 0);
    EXPECT_TRUE(pointerAt(1024, 0));
    EXPECT_EQ(setMouse(keepMouse, 30, -1, -1), 0);
    EXPECT_TRUE(pointerAt(1024, 30));
    EXPECT_EQ(setMouse(-3, keepMouse, -1, -1), 0);
    EXPECT_TRUE(pointerAt(0, 30));
}

TEST(SetMouse, MouseMoveToTakesPlotCoordinates)
{
    const TestScreen& screen = activeScreen();
    const auto pointerAt = [&](int x, int y) {
        return rig::waitUntil([&] {
            const rig::PointerState pointer = screen.client.pointer(screen.window);
            return pointer.windowX == x && pointer.windowY == y;
        });
    };
    mouseMoveTo(10, 0);
    EXPECT_TRUE(pointerAt(10, 400));
    EXPECT_TRUE(rig::waitUntil([] { return mouseY() == 0 && mouseX() == 10; }));
    mouseMoveTo(5000, -7);
    EXPECT_TRUE(pointerAt(1024, 400));
    mouseMoveTo(-1, 401);
    EXPECT_TRUE(pointerAt(0, 0));
}

TEST(SetMouse, ConfinementKeepsThePointerOnTheDrawingArea)
{
    const TestScreen& screen = activeScreen();
    const PointerReset reset{screen};
    ASSERT_TRUE(pointerOverActiveWindow(screen, 600, 300));
    EXPECT_EQ(setMouse(keepMouse, keepMouse, -1, 1), 0);
    EXPECT_EQ(readMouse().clip, 1);
    // Hiding and showing the pointer changes neither position nor confinement.
    mouseHide();
    mouseShow();
    const rig::WindowGeometry area = screen.client.geometry(screen.window);
    EXPECT_TRUE(rig::waitUntil([&] {
        screen.client.movePointerOnScreen(2, 3);
        const rig::PointerState pointer = screen.client.pointer(screen.window);
        return pointer.screenX == area.x && pointer.screenY == area.y;
    }));
    EXPECT_TRUE(rig::waitUntil([] {
        const MouseReading reading = readMouse();
        return reading.result == 0 && reading.x == 0 && reading.y == 0 && reading.clip == 1;
    }));
    EXPECT_EQ(setMouse(keepMouse, keepMouse, -1, 0), 0);
    EXPECT_TRUE(rig::waitUntil([&] {
        screen.client.movePointerOnScreen(2, 3);
        const rig::PointerState pointer = screen.client.pointer(screen.window);
        return pointer.screenX == 2 && pointer.screenY == 3;
    }));
    EXPECT_TRUE(rig::waitUntil([] { return mouseUnreadable(readMouse()); }));
}

} // namespace
} // namespace plottest
