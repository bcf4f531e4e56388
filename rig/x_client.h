// A connection to an X server that acts as the user and the window manager
// would: it finds a program's window, gives it the focus, reads its pixels,
// types keys and moves and presses the mouse through XTest, and asks the
// window to close. Every action is flushed and synchronised with the server
// before it returns; what the program under test makes of it must still be
// waited for. One thread uses an XClient at a time.
//
// Key symbols are the XK_ constants of <X11/keysym.h>, which is safe to
// include next to the tests' own headers (Xlib itself is kept out of this
// header because its macros clash with common names).
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "rig/rgb_image.h"
#include "rig/wait_until.h"

struct _XDisplay;

namespace rig {

using XWindowId = unsigned long; // an X window id; 0 is no window
using KeySymbol = unsigned long; // an XK_ key symbol

// Position of a window's client area on the screen, and its size.
struct WindowGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Where the pointer is, on the screen and relative to a window's client area,
// and which buttons are held (X's mask: Button1Mask 1 << 8 and so on).
struct PointerState {
    int screenX = 0;
    int screenY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttonMask = 0;
};

class XClient {
public:
    // Connects to displayName (":N"); throws std::runtime_error on failure.
    explicit XClient(const std::string& displayName);
    // Destroys the rig's own window, if any, and disconnects.
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    // The raw connection, for tests that make their own windows.
    _XDisplay* display() const { return display_; }

    // Waits until a top-level window with exactly this title (either the
    // EWMH or the classic title property) is mapped and viewable; 0 when none
    // appears within timeout.
    XWindowId findWindowByTitle(const std::string& title, std::chrono::milliseconds timeout = rigDeadline);

    // The same, for the window whose owner declares process id pid.
    XWindowId findWindowByPid(pid_t pid, std::chrono::milliseconds timeout = rigDeadline);

    // The window's title (EWMH title first, else the classic one); empty when
    // it has none or no longer exists.
    std::string windowTitle(XWindowId window);

    // False once the window has been destroyed.
    bool windowExists(XWindowId window);

    // Raises the window and gives it the keyboard focus, as a window manager
    // would, then waits until it holds the focus; false if it did not by
    // timeout.
    bool focusWindow(XWindowId window, std::chrono::milliseconds timeout = rigDeadline);

    // The window that holds the keyboard focus (0 for none or the root).
    XWindowId focusedWindow();

    // Creates (once) a small window of the rig's own in the bottom-right
    // corner of the screen, away from centred windows, maps it and gives it
    // the focus, so that the window under test is no longer active. Returns
    // it; 0 if it could not take the focus.
    XWindowId focusOtherWindow();

    // The client area's screen position and size; all zero if the window is
    // gone.
    WindowGeometry geometry(XWindowId window);

    // The pixels of the window's client area; an empty image if the window is
    // gone or not viewable.
    RgbImage capture(XWindowId window);

    // Presses the modifiers in order (e.g. XK_Control_L), presses and
    // releases key, then releases the modifiers in reverse order. Throws
    // std::runtime_error for a symbol the keyboard map does not have.
    void typeKey(KeySymbol key, const std::vector<KeySymbol>& modifiers = {});
    void pressKey(KeySymbol key);
    void releaseKey(KeySymbol key);

    // Mouse buttons by X number: 1 left, 2 middle, 3 right, 4 and 5 the wheel.
    void pressButton(int button);
    void releaseButton(int button);
    void clickButton(int button);

    // Moves the pointer to (x, y) of the window's client area, or to (x, y)
    // of the screen.
    void movePointer(XWindowId window, int x, int y);
    void movePointerOnScreen(int x, int y);

    // The pointer as the server sees it, relative to window.
    PointerState pointer(XWindowId window);

    // Sends the WM_DELETE_WINDOW request that a window manager sends when
    // the user clicks the close button.
    void requestClose(XWindowId window);

private:
    XWindowId findWindow(const std::function<bool(XWindowId)>& matches, std::chrono::milliseconds timeout);
    bool isViewable(XWindowId window);
    unsigned char keyCode(KeySymbol key);

    _XDisplay* display_ = nullptr;
    XWindowId ownWindow_ = 0;
};

} // namespace rig
