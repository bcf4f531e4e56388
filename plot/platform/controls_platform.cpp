#include <SDL.h>

#include "plot/platform/controls_platform.h"
#include "plot/state/controls_state.h"

namespace {

int64_t buttonBit(uint8_t button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return leftButtonBit;
    case SDL_BUTTON_RIGHT: return rightButtonBit;
    case SDL_BUTTON_MIDDLE: return middleButtonBit;
    case SDL_BUTTON_X1: return firstExtraButtonBit;
    case SDL_BUTTON_X2: return secondExtraButtonBit;
    default: return 0;
    }
}

// While any button is held the window keeps getting the pointer's events,
// even outside it, so that every release is seen.
void setButtons(int64_t buttons)
{
    if (mouseState.buttons == 0 && buttons != 0) {
        SDL_CaptureMouse(SDL_TRUE);
    } else if (mouseState.buttons != 0 && buttons == 0) {
        SDL_CaptureMouse(SDL_FALSE);
    }
    mouseState.buttons = buttons;
}

// Whether the window is active and the pointer over its drawing area, from
// the window's state and the pointer's place as they are now. The pointer's
// place is the one the window system reports to the window (SDL's global
// position can lag behind it while the pointer is confined).
void updatePointerPlace(SDL_Window* window)
{
    const Uint32 flags = SDL_GetWindowFlags(window);
    mouseState.active = (flags & SDL_WINDOW_INPUT_FOCUS) != 0 && (flags & SDL_WINDOW_MINIMIZED) == 0;
    int pointerX = 0;
    int pointerY = 0;
    SDL_GetMouseState(&pointerX, &pointerY);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    mouseState.inside =
        SDL_GetMouseFocus() == window && pointerX >= 0 && pointerX < width && pointerY >= 0 && pointerY < height;
}

void queueCode(int32_t code)
{
    pushKey(keyQueue, code);
    keyHit = true;
}

void handleWindowChange(const SDL_WindowEvent& change)
{
    switch (change.event) {
    case SDL_WINDOWEVENT_CLOSE:
        // The SDL_QUIT that follows the last window's close request is the
        // same request: it is not queued again.
        queueCode(closeKey);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST: setButtons(0); break;
    default: break;
    }
}

} // namespace

void resetControlsState(SDL_Window* window)
{
    keyQueue = {};
    keyHit = false;
    typingState = {};
    mouseState = {};
    mouseRequests = {};
    pointerSettling = {};
    SDL_StartTextInput();
    updatePointerPlace(window);
}

void handleWindowEvent(const SDL_Event& event, SDL_Window* window)
{
    switch (event.type) {
    case SDL_KEYDOWN:
        if (queueKeyDown(keyQueue, typingState, event.key.keysym.sym, event.key.keysym.scancode, event.key.keysym.mod) >
            0) {
            keyHit = true;
        }
        break;
    case SDL_TEXTINPUT:
        if (queueTypedText(keyQueue, typingState, event.text.text) > 0) {
            keyHit = true;
        }
        break;
    case SDL_MOUSEMOTION:
        if (pointerSettling.passesLeft > 0) {
            if (event.motion.x != pointerSettling.x || event.motion.y != pointerSettling.y) {
                break;
            }
            pointerSettling.passesLeft = 0;
        }
        mouseState.x = static_cast<uint16_t>(event.motion.x);
        mouseState.y = static_cast<uint16_t>(event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN: setButtons(mouseState.buttons | buttonBit(event.button.button)); break;
    case SDL_MOUSEBUTTONUP: setButtons(mouseState.buttons & ~buttonBit(event.button.button)); break;
    case SDL_MOUSEWHEEL:
        mouseState.wheel += event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        break;
    case SDL_WINDOWEVENT: handleWindowChange(event.window); break;
    default: break;
    }
    updatePointerPlace(window);
}

void applyMouseRequests(SDL_Window* window)
{
    if (mouseRequests.move) {
        SDL_WarpMouseInWindow(window, mouseRequests.moveX, mouseRequests.moveY);
    } else if (pointerSettling.passesLeft > 0) {
        --pointerSettling.passesLeft;
    }
    if (mouseRequests.showOrHide) {
        SDL_ShowCursor(mouseState.visible ? SDL_ENABLE : SDL_DISABLE);
    }
    if (mouseRequests.confine) {
        SDL_SetWindowMouseGrab(window, mouseState.clip ? SDL_TRUE : SDL_FALSE);
    }
    mouseRequests = {};
}
