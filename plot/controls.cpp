#include "plot/controls.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "plot/logic/pause_steps.h"
#include "plot/platform/screen_platform.h"
#include "plot/state/controls_state.h"
#include "plot/state/screen_state.h"

int32_t getMouse(int64_t& x, int64_t& y, int64_t& wheel, int64_t& buttons, int64_t& clip)
{
    const std::lock_guard services(servicesLock);
    const std::lock_guard screen(screenLock);
    if (!screenIsOpen || !mouseState.active || !mouseState.inside) {
        x = y = wheel = buttons = clip = -1;
        return 1;
    }
    x = mouseState.x;
    y = mouseState.y;
    wheel = mouseState.wheel;
    buttons = mouseState.buttons;
    clip = mouseState.clip ? 1 : 0;
    return 0;
}

namespace {

// The mouse state setMouse asks for, and the requests that the refresh
// thread carries out. screenLock held.
void requestMouse(int32_t x, int32_t y, int32_t visibility, int32_t clip)
{
    if (x != keepMouse || y != keepMouse) {
        const int32_t newX = std::clamp(x == keepMouse ? int32_t{mouseState.x} : x, 0, screenWidthPixels - 1);
        const int32_t newY = std::clamp(y == keepMouse ? int32_t{mouseState.y} : y, 0, screenHeightPixels - 1);
        mouseState.x = static_cast<uint16_t>(newX);
        mouseState.y = static_cast<uint16_t>(newY);
        mouseState.inside = true;
        mouseRequests.move = true;
        mouseRequests.moveX = newX;
        mouseRequests.moveY = newY;
        pointerSettling = {newX, newY, pointerSettlingPasses};
    }
    if (visibility >= 0) {
        mouseState.visible = visibility >= 1;
        mouseRequests.showOrHide = true;
    }
    if (clip >= 0) {
        mouseState.clip = clip >= 1;
        mouseRequests.confine = true;
    }
}

} // namespace

int32_t setMouse(int32_t x, int32_t y, int32_t visibility, int32_t clip)
{
    const std::lock_guard services(servicesLock);
    if (!screenIsOpen) {
        return 1;
    }
    bool wake = false;
    {
        const std::lock_guard screen(screenLock);
        requestMouse(x, y, visibility, clip);
        wake = askForRefresh();
    }
    if (wake) {
        wakeRefreshThread();
    }
    return 0;
}

std::string pollKey()
{
    const std::lock_guard services(servicesLock);
    const std::lock_guard screen(screenLock);
    int32_t code = 0;
    const bool taken = popKey(keyQueue, code);
    keyHit = false;
    return taken ? keyText(code) : std::string();
}

void sleepMs(int32_t ms)
{
    // Each test of the flag is a service call of its own; the sleeping in
    // between holds no lock, so drawing threads and the refresh go on.
    const auto takeKeyHit = [] {
        const std::lock_guard services(servicesLock);
        const std::lock_guard screen(screenLock);
        const bool hit = keyHit;
        keyHit = false;
        return hit;
    };
    const auto sleepFor = [](int32_t stepMs) { std::this_thread::sleep_for(std::chrono::milliseconds(stepMs)); };
    pauseSteps(ms, takeKeyHit, sleepFor);
}
