#include "rig/x_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <atomic>
#include <stdexcept>

namespace rig {

namespace {

// The last X protocol error any rig connection received. Xlib's own handler
// would end the process; a vanished window is an ordinary event in a test.
std::atomic<int> lastXError{0};

int recordXError(Display*, XErrorEvent* event)
{
    lastXError = event->error_code;
    return 0;
}

// Runs an X request synchronously and tells whether the server accepted it.
template <typename Request>
bool succeeds(Display* display, Request request)
{
    XSync(display, False);
    lastXError = 0;
    const bool returned = request();
    XSync(display, False);
    return returned && lastXError == 0;
}

std::string textProperty(Display* display, Window window, Atom property, Atom type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &actualType, &format, &count, &remaining,
                           &data) == Success &&
        data != nullptr) {
        if (actualType == type && format == 8) {
            text.assign(reinterpret_cast<const char*>(data), count);
        }
        XFree(data);
    }
    return text;
}

long cardinalProperty(Display* display, Window window, Atom property)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    long value = -1;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &actualType, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr) {
        if (actualType == XA_CARDINAL && format == 32 && count == 1) {
            value = *reinterpret_cast<const long*>(data);
        }
        XFree(data);
    }
    return value;
}

// How far a channel mask must be shifted down to give an 8-bit value.
int shiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask > 0xff) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

} // namespace

XClient::XClient(const std::string& displayName)
{
    XSetErrorHandler(recordXError);
    display_ = XOpenDisplay(displayName.c_str());
    if (display_ == nullptr) {
        throw std::runtime_error("cannot connect to X display " + displayName);
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display_);
        throw std::runtime_error("X display " + displayName + " has no XTest");
    }
}

XClient::~XClient()
{
    if (ownWindow_ != 0) {
        XDestroyWindow(display_, ownWindow_);
    }
    XCloseDisplay(display_);
}

bool XClient::isViewable(XWindowId window)
{
    XWindowAttributes attributes{};
    return succeeds(display_, [&] { return XGetWindowAttributes(display_, window, &attributes) != 0; }) &&
           attributes.map_state == IsViewable;
}

XWindowId XClient::findWindow(const std::function<bool(XWindowId)>& matches, std::chrono::milliseconds timeout)
{
    XWindowId found = 0;
    waitUntil(
        [&] {
            Window root = 0;
            Window parent = 0;
            Window* children = nullptr;
            unsigned int count = 0;
            if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
                return false;
            }
            for (unsigned int i = 0; i < count && found == 0; ++i) {
                if (isViewable(children[i]) && matches(children[i])) {
                    found = children[i];
                }
            }
            if (children != nullptr) {
                XFree(children);
            }
            return found != 0;
        },
        timeout);
    return found;
}

XWindowId XClient::findWindowByTitle(const std::string& title, std::chrono::milliseconds timeout)
{
    const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    return findWindow(
        [&](XWindowId window) {
            return textProperty(display_, window, netName, utf8) == title ||
                   textProperty(display_, window, XA_WM_NAME, XA_STRING) == title;
        },
        timeout);
}

XWindowId XClient::findWindowByPid(pid_t pid, std::chrono::milliseconds timeout)
{
    const Atom netPid = XInternAtom(display_, "_NET_WM_PID", False);
    return findWindow([&](XWindowId window) { return cardinalProperty(display_, window, netPid) == pid; }, timeout);
}

std::string XClient::windowTitle(XWindowId window)
{
    const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    std::string title;
    succeeds(display_, [&] {
        title = textProperty(display_, window, netName, utf8);
        if (title.empty()) {
            title = textProperty(display_, window, XA_WM_NAME, XA_STRING);
        }
        return true;
    });
    return lastXError == 0 ? title : std::string();
}

bool XClient::windowExists(XWindowId window)
{
    XWindowAttributes attributes{};
    return succeeds(display_, [&] { return XGetWindowAttributes(display_, window, &attributes) != 0; });
}

bool XClient::focusWindow(XWindowId window, std::chrono::milliseconds timeout)
{
    XRaiseWindow(display_, window);
    if (!succeeds(display_, [&] { return XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime) != 0; })) {
        return false;
    }
    return waitUntil([&] { return focusedWindow() == window; }, timeout);
}

XWindowId XClient::focusedWindow()
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    if (focus == PointerRoot || focus == DefaultRootWindow(display_)) {
        return 0;
    }
    return focus;
}

XWindowId XClient::focusOtherWindow()
{
    constexpr int side = 16;
    if (ownWindow_ == 0) {
        const int screen = DefaultScreen(display_);
        ownWindow_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), DisplayWidth(display_, screen) - side,
                                         DisplayHeight(display_, screen) - side, side, side, 0,
                                         BlackPixel(display_, screen), WhitePixel(display_, screen));
        XStoreName(display_, ownWindow_, "earshot rig");
        XMapRaised(display_, ownWindow_);
        XSync(display_, False);
        if (!waitUntil([&] { return isViewable(ownWindow_); })) {
            return 0;
        }
    }
    return focusWindow(ownWindow_) ? ownWindow_ : 0;
}

WindowGeometry XClient::geometry(XWindowId window)
{
    XWindowAttributes attributes{};
    Window child = 0;
    WindowGeometry result;
    const bool known = succeeds(display_, [&] {
        return XGetWindowAttributes(display_, window, &attributes) != 0 &&
               XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &result.x, &result.y,
                                     &child) != 0;
    });
    if (!known) {
        return {};
    }
    result.width = attributes.width;
    result.height = attributes.height;
    return result;
}

RgbImage XClient::capture(XWindowId window)
{
    const WindowGeometry size = geometry(window);
    XImage* image = nullptr;
    if (size.width <= 0 || !succeeds(display_, [&] {
            image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(size.width),
                              static_cast<unsigned>(size.height), AllPlanes, ZPixmap);
            return image != nullptr;
        })) {
        if (image != nullptr) {
            XDestroyImage(image);
        }
        return {};
    }
    RgbImage result{size.width, size.height, std::vector<uint8_t>(static_cast<size_t>(size.width) * size.height * 3)};
    const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
    const int shifts[3] = {shiftOf(masks[0]), shiftOf(masks[1]), shiftOf(masks[2])};
    size_t at = 0;
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const unsigned long value = XGetPixel(image, x, y);
            for (int channel = 0; channel < 3; ++channel) {
                result.rgb[at++] = static_cast<uint8_t>((value & masks[channel]) >> shifts[channel]);
            }
        }
    }
    XDestroyImage(image);
    return result;
}

unsigned char XClient::keyCode(KeySymbol key)
{
    const KeyCode code = XKeysymToKeycode(display_, key);
    if (code == 0) {
        throw std::runtime_error("the keyboard map has no key for symbol " + std::to_string(key));
    }
    return code;
}

void XClient::pressKey(KeySymbol key)
{
    XTestFakeKeyEvent(display_, keyCode(key), True, CurrentTime);
    XSync(display_, False);
}

void XClient::releaseKey(KeySymbol key)
{
    XTestFakeKeyEvent(display_, keyCode(key), False, CurrentTime);
    XSync(display_, False);
}

void XClient::typeKey(KeySymbol key, const std::vector<KeySymbol>& modifiers)
{
    for (const KeySymbol modifier : modifiers) {
        pressKey(modifier);
    }
    pressKey(key);
    releaseKey(key);
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier) {
        releaseKey(*modifier);
    }
}

void XClient::pressButton(int button)
{
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
    XSync(display_, False);
}

void XClient::releaseButton(int button)
{
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
    XSync(display_, False);
}

void XClient::clickButton(int button)
{
    pressButton(button);
    releaseButton(button);
}

void XClient::movePointer(XWindowId window, int x, int y)
{
    const WindowGeometry where = geometry(window);
    movePointerOnScreen(where.x + x, where.y + y);
}

void XClient::movePointerOnScreen(int x, int y)
{
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XSync(display_, False);
}

PointerState XClient::pointer(XWindowId window)
{
    Window root = 0;
    Window child = 0;
    PointerState state;
    XQueryPointer(display_, window, &root, &child, &state.screenX, &state.screenY, &state.windowX, &state.windowY,
                  &state.buttonMask);
    return state;
}

void XClient::requestClose(XWindowId window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XSync(display_, False);
}

} // namespace rig
