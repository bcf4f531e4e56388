// From keyboard events to key codes. Pure: no window, no locks; the refresh
// thread's event handling calls it with the screen's key queue under
// screenLock.
//
// A typed character becomes its code page 437 code. Escape (27), Enter (13),
// Backspace (8), Tab (9) and Ctrl with a letter (1 to 26, Ctrl-C is 3) come
// from the key-down, whatever text the layout makes of them. Keys without a
// character (function keys, arrows, Home, End, Page Up and Down, Insert,
// Delete) become extendedKeyCode(key number), the number looked up by key and
// modifier (Alt before Ctrl before Shift) in the table extendedKeys of
// key_translate.cpp. The keypad's navigation keys count as these keys while
// Num Lock is off. F10 alone, Alt+F4 (whose number would clash with
// closeKey's 107) and the modifier keys themselves queue nothing.
#pragma once

#include <SDL_keycode.h>
#include <cstdint>
#include <string_view>

#include "plot/logic/key_queue.h"

// What a key-down returns when it queues nothing.
constexpr int32_t noKeyCode = -1;

constexpr int32_t extendedKeyCode(int32_t keyNumber)
{
    return keyNumber * 256 + 255;
}

// Queued when the user asks to close the window; the window stays open.
constexpr int32_t closeKey = extendedKeyCode(107);

// Typing that spans events: whether the latest key-down queued a code of its
// own, in which case the text event of that same key press is not queued again.
struct TypingState {
    bool keyDownQueued = false;
};

// The code a key-down stands for, or noKeyCode. key is the layout's key,
// scancode the physical one (used for Ctrl with a letter on layouts whose
// keys are not Latin letters), modifiers the SDL_Keymod bits.
int32_t keyDownCode(SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers);

// Queues the key-down's code, if any, and notes it in typing; returns the
// number of codes queued (0 or 1). Every auto-repeat is a key-down of its own.
int32_t queueKeyDown(KeyQueue& queue, TypingState& typing, SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers);

// Queues the code of each character of a UTF-8 text, dropping characters that
// code page 437 lacks and malformed bytes; drops the whole text when the
// key-down that produced it queued a code already. Returns the number queued.
int32_t queueTypedText(KeyQueue& queue, TypingState& typing, std::string_view utf8);
