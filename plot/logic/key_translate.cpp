#include "plot/logic/key_translate.h"

#include "plot/logic/cp437.h"

namespace {

// Key numbers of a key without a character: alone, with Shift, with Ctrl,
// with Alt. 0 means that combination queues nothing.
struct ExtendedKey {
    SDL_Keycode key;
    int32_t plain;
    int32_t shift;
    int32_t ctrl;
    int32_t alt;
};

constexpr ExtendedKey extendedKeys[] = {
    {SDLK_F1, 59, 84, 94, 104},      {SDLK_F2, 60, 85, 95, 105},        {SDLK_F3, 61, 86, 96, 106},
    {SDLK_F4, 62, 87, 97, 0},        {SDLK_F5, 63, 88, 98, 108},        {SDLK_F6, 64, 89, 99, 109},
    {SDLK_F7, 65, 90, 100, 110},     {SDLK_F8, 66, 91, 101, 111},       {SDLK_F9, 67, 92, 102, 112},
    {SDLK_F10, 0, 93, 103, 113},     {SDLK_F11, 133, 135, 137, 139},    {SDLK_F12, 134, 136, 138, 140},
    {SDLK_HOME, 71, 71, 119, 151},   {SDLK_UP, 72, 72, 141, 152},       {SDLK_PAGEUP, 73, 73, 132, 153},
    {SDLK_LEFT, 75, 75, 115, 155},   {SDLK_RIGHT, 77, 77, 116, 157},    {SDLK_END, 79, 79, 117, 159},
    {SDLK_DOWN, 80, 80, 145, 160},   {SDLK_PAGEDOWN, 81, 81, 118, 161}, {SDLK_INSERT, 82, 82, 146, 162},
    {SDLK_DELETE, 83, 83, 147, 163},
};

// With Num Lock off the keypad's digit keys are the navigation keys printed
// under the digits.
SDL_Keycode keypadNavigation(SDL_Keycode key)
{
    switch (key) {
    case SDLK_KP_7: return SDLK_HOME;
    case SDLK_KP_8: return SDLK_UP;
    case SDLK_KP_9: return SDLK_PAGEUP;
    case SDLK_KP_4: return SDLK_LEFT;
    case SDLK_KP_6: return SDLK_RIGHT;
    case SDLK_KP_1: return SDLK_END;
    case SDLK_KP_2: return SDLK_DOWN;
    case SDLK_KP_3: return SDLK_PAGEDOWN;
    case SDLK_KP_0: return SDLK_INSERT;
    case SDLK_KP_PERIOD: return SDLK_DELETE;
    default: return key;
    }
}

// The letter's place in the alphabet (1 to 26) when the key is a letter,
// by layout or, failing that, by its place on the keyboard; else 0.
int32_t letterNumber(SDL_Keycode key, SDL_Scancode scancode)
{
    if (key >= SDLK_a && key <= SDLK_z) {
        return key - SDLK_a + 1;
    }
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return scancode - SDL_SCANCODE_A + 1;
    }
    return 0;
}

int32_t extendedCode(SDL_Keycode key, uint16_t modifiers)
{
    for (const ExtendedKey& entry : extendedKeys) {
        if (entry.key != key) {
            continue;
        }
        const int32_t number = (modifiers & KMOD_ALT) != 0     ? entry.alt
                               : (modifiers & KMOD_CTRL) != 0  ? entry.ctrl
                               : (modifiers & KMOD_SHIFT) != 0 ? entry.shift
                                                               : entry.plain;
        return number == 0 ? noKeyCode : extendedKeyCode(number);
    }
    return noKeyCode;
}

// Stands for a malformed UTF-8 sequence; no code page has it.
constexpr char32_t malformed = 0xFFFFFFFF;

// The Unicode character starting at text[at], advancing at past it; malformed
// (skipping one byte) for a stray, truncated or over-long sequence.
char32_t decodeUtf8(std::string_view text, size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    size_t following = 0;
    char32_t smallest = 0;
    if (lead >= 0xC0 && lead < 0xE0) {
        following = 1;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        following = 2;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        following = 3;
        smallest = 0x10000;
    } else {
        return malformed;
    }
    if (at + following > text.size()) {
        return malformed;
    }
    char32_t character = lead & (0x3F >> following);
    for (size_t i = 0; i < following; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return malformed;
        }
        character = (character << 6) | (next & 0x3F);
    }
    if (character < smallest) {
        return malformed;
    }
    at += following;
    return character;
}

} // namespace

int32_t keyDownCode(SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers)
{
    switch (key) {
    case SDLK_ESCAPE: return escapeKeyCode;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    default: break;
    }
    // Ctrl with Alt (or AltGr) types the layout's third-level characters,
    // which arrive as text.
    if ((modifiers & KMOD_CTRL) != 0 && (modifiers & (KMOD_ALT | KMOD_MODE)) == 0) {
        const int32_t letter = letterNumber(key, scancode);
        if (letter != 0) {
            return letter;
        }
    }
    if ((modifiers & KMOD_NUM) == 0) {
        key = keypadNavigation(key);
    }
    return extendedCode(key, modifiers);
}

int32_t queueKeyDown(KeyQueue& queue, TypingState& typing, SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers)
{
    const int32_t code = keyDownCode(key, scancode, modifiers);
    typing.keyDownQueued = code != noKeyCode;
    if (code == noKeyCode) {
        return 0;
    }
    pushKey(queue, code);
    return 1;
}

int32_t queueTypedText(KeyQueue& queue, TypingState& typing, std::string_view utf8)
{
    if (typing.keyDownQueued) {
        typing.keyDownQueued = false;
        return 0;
    }
    int32_t queued = 0;
    size_t at = 0;
    while (at < utf8.size()) {
        const int32_t code = unicodeToCp437(decodeUtf8(utf8, at));
        if (code != -1) {
            pushKey(queue, code);
            ++queued;
        }
    }
    return queued;
}
