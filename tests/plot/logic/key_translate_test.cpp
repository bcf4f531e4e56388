#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "plot/logic/cp437.h"
#include "plot/logic/key_translate.h"
#include "tests/plot/logic/drain_keys.h"

namespace {

std::vector<int32_t> typed(std::string_view utf8)
{
    KeyQueue queue;
    TypingState typing;
    queueTypedText(queue, typing, utf8);
    return drainKeys(queue);
}

// A key-down of a key that is where an English layout has it.
int32_t keyDown(SDL_Keycode key, uint16_t modifiers = KMOD_NONE)
{
    const auto scancode = (key & SDLK_SCANCODE_MASK) != 0  ? static_cast<SDL_Scancode>(key & ~SDLK_SCANCODE_MASK)
                          : key >= SDLK_a && key <= SDLK_z ? static_cast<SDL_Scancode>(SDL_SCANCODE_A + key - SDLK_a)
                                                           : SDL_SCANCODE_UNKNOWN;
    return keyDownCode(key, scancode, modifiers);
}

TEST(TypedText, LettersDigitsAndPunctuationKeepTheirCodes)
{
    EXPECT_EQ(typed("aZ7~ "), (std::vector<int32_t>{97, 90, 55, 126, 32}));
}

TEST(TypedText, AccentedLettersAndSymbolsBecomeCodePage437)
{
    EXPECT_EQ(typed("é"), std::vector<int32_t>{130});
    EXPECT_EQ(typed("Ñ"), std::vector<int32_t>{165});
    EXPECT_EQ(typed("ß"), std::vector<int32_t>{225});
    EXPECT_EQ(typed("Ç"), std::vector<int32_t>{128});
    EXPECT_EQ(typed("£"), std::vector<int32_t>{156});
    EXPECT_EQ(typed("±"), std::vector<int32_t>{241});
    EXPECT_EQ(typed("°"), std::vector<int32_t>{248});
    EXPECT_EQ(typed("\u00A0"), std::vector<int32_t>{255});
    EXPECT_EQ(typed("§"), std::vector<int32_t>{21});
    EXPECT_EQ(typed("☺"), std::vector<int32_t>{1});
    EXPECT_EQ(typed("▼"), std::vector<int32_t>{31});
    EXPECT_EQ(typed("⌂"), std::vector<int32_t>{127});
    EXPECT_EQ(typed("░█╬"), (std::vector<int32_t>{176, 219, 206}));
}

TEST(TypedText, CharactersWithoutACodeAreDropped)
{
    EXPECT_EQ(typed("a€b"), (std::vector<int32_t>{97, 98}));
    EXPECT_EQ(typed("ø"), std::vector<int32_t>{});
    EXPECT_EQ(typed("😀x"), std::vector<int32_t>{120});
}

TEST(TypedText, MalformedBytesAreDroppedAndTheRestKept)
{
    EXPECT_EQ(typed("\x80q"), std::vector<int32_t>{113});
    EXPECT_EQ(typed("w\xC3"), std::vector<int32_t>{119});
    EXPECT_EQ(typed("\xC3q"), std::vector<int32_t>{113});
    // An over-long form of the space is not a space.
    EXPECT_EQ(typed("\xE0\x80\xA0"), std::vector<int32_t>{});
}

TEST(CodePage437, EveryCodeFrom1To255HasExactlyOneCharacter)
{
    std::map<int32_t, int32_t> charactersPerCode;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const int32_t code = unicodeToCp437(c);
        if (code != -1) {
            ++charactersPerCode[code];
        }
    }
    ASSERT_EQ(charactersPerCode.size(), 255U);
    EXPECT_EQ(charactersPerCode.begin()->first, 1);
    EXPECT_EQ(charactersPerCode.rbegin()->first, 255);
    for (const auto& [code, count] : charactersPerCode) {
        EXPECT_EQ(count, 1) << "code " << code;
    }
    EXPECT_EQ(unicodeToCp437(U'\t'), -1);
    EXPECT_EQ(unicodeToCp437(U'\x7f'), -1);
}

TEST(KeyDown, EscapeEnterBackspaceAndTabGiveTheirControlCodes)
{
    EXPECT_EQ(keyDown(SDLK_ESCAPE), 27);
    EXPECT_EQ(keyDown(SDLK_RETURN), 13);
    EXPECT_EQ(keyDown(SDLK_KP_ENTER), 13);
    EXPECT_EQ(keyDown(SDLK_BACKSPACE), 8);
    EXPECT_EQ(keyDown(SDLK_TAB), 9);
    EXPECT_EQ(keyDown(SDLK_ESCAPE, KMOD_LSHIFT), 27);
}

TEST(KeyDown, CtrlWithEachLetterGives1To26)
{
    for (int32_t i = 0; i < 26; ++i) {
        EXPECT_EQ(keyDownCode(SDLK_a + i, static_cast<SDL_Scancode>(SDL_SCANCODE_A + i), KMOD_LCTRL), i + 1);
        EXPECT_EQ(keyDownCode(SDLK_a + i, static_cast<SDL_Scancode>(SDL_SCANCODE_A + i), KMOD_RCTRL | KMOD_LSHIFT),
                  i + 1);
    }
    EXPECT_EQ(keyDown(SDLK_c, KMOD_LCTRL), 3);
}

TEST(KeyDown, CtrlLetterFollowsTheLayoutAndFallsBackToTheKeyPlace)
{
    // The key that types a on a French layout sits where q is on an English one.
    EXPECT_EQ(keyDownCode(SDLK_a, SDL_SCANCODE_Q, KMOD_LCTRL), 1);
    // On a Cyrillic layout the c key types U+0441.
    EXPECT_EQ(keyDownCode(0x0441, SDL_SCANCODE_C, KMOD_LCTRL), 3);
}

TEST(KeyDown, PlainLettersAndThirdLevelKeysComeAsText)
{
    EXPECT_EQ(keyDown(SDLK_c), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_c, KMOD_LSHIFT), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_q, KMOD_LCTRL | KMOD_RALT), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_q, KMOD_LCTRL | KMOD_MODE), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_1, KMOD_LCTRL), noKeyCode);
}

TEST(KeyDown, KeysWithoutACharacterTakeTheirNumberByModifier)
{
    struct Case {
        SDL_Keycode key;
        uint16_t modifiers;
        int32_t number;
    };
    const Case cases[] = {
        {SDLK_UP, KMOD_NONE, 72},
        {SDLK_UP, KMOD_LSHIFT, 72},
        {SDLK_UP, KMOD_LCTRL, 141},
        {SDLK_UP, KMOD_LALT, 152},
        {SDLK_DOWN, KMOD_NONE, 80},
        {SDLK_LEFT, KMOD_RCTRL, 115},
        {SDLK_RIGHT, KMOD_RALT, 157},
        {SDLK_HOME, KMOD_NONE, 71},
        {SDLK_HOME, KMOD_LCTRL, 119},
        {SDLK_HOME, KMOD_LALT, 151},
        {SDLK_END, KMOD_NONE, 79},
        {SDLK_PAGEUP, KMOD_LCTRL, 132},
        {SDLK_PAGEDOWN, KMOD_NONE, 81},
        {SDLK_INSERT, KMOD_NONE, 82},
        {SDLK_DELETE, KMOD_LALT, 163},
        {SDLK_F1, KMOD_NONE, 59},
        {SDLK_F1, KMOD_LSHIFT, 84},
        {SDLK_F1, KMOD_LCTRL, 94},
        {SDLK_F1, KMOD_LALT, 104},
        {SDLK_F9, KMOD_NONE, 67},
        {SDLK_F4, KMOD_NONE, 62},
        {SDLK_F4, KMOD_LCTRL, 97},
        {SDLK_F11, KMOD_NONE, 133},
        {SDLK_F12, KMOD_NONE, 134},
        {SDLK_F12, KMOD_RSHIFT, 136},
        {SDLK_F12, KMOD_LCTRL, 138},
        {SDLK_F12, KMOD_LALT, 140},
        {SDLK_F10, KMOD_LSHIFT, 93},
        // Alt wins over Ctrl, Ctrl over Shift.
        {SDLK_LEFT, KMOD_LCTRL | KMOD_LALT, 155},
        {SDLK_F1, KMOD_LCTRL | KMOD_LSHIFT, 94},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyDown(c.key, c.modifiers), extendedKeyCode(c.number)) << "key " << c.key << " with " << c.modifiers;
    }
}

TEST(KeyDown, F10AloneAltWithF4AndModifierKeysGiveNothing)
{
    EXPECT_EQ(keyDown(SDLK_F10), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_F4, KMOD_LALT), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_F4, KMOD_LALT | KMOD_LCTRL), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_LALT, KMOD_LALT), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_RALT, KMOD_RALT), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_LCTRL, KMOD_LCTRL), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_LSHIFT, KMOD_LSHIFT), noKeyCode);
}

TEST(KeyDown, NoKeyTakesTheCloseRequestsCode)
{
    const SDL_Keycode keys[] = {SDLK_F1,     SDLK_F2,       SDLK_F3,     SDLK_F4,     SDLK_F5,   SDLK_F6,
                                SDLK_F7,     SDLK_F8,       SDLK_F9,     SDLK_F10,    SDLK_F11,  SDLK_F12,
                                SDLK_HOME,   SDLK_END,      SDLK_UP,     SDLK_DOWN,   SDLK_LEFT, SDLK_RIGHT,
                                SDLK_PAGEUP, SDLK_PAGEDOWN, SDLK_INSERT, SDLK_DELETE, SDLK_KP_7, SDLK_KP_0};
    const uint16_t modifiers[] = {KMOD_NONE, KMOD_LSHIFT, KMOD_LCTRL, KMOD_LALT, KMOD_LCTRL | KMOD_LALT};
    for (const SDL_Keycode key : keys) {
        for (const uint16_t modifier : modifiers) {
            EXPECT_NE(keyDown(key, modifier), closeKey) << "key " << key << " with " << modifier;
        }
    }
}

TEST(KeyDown, KeypadNavigatesOnlyWithNumLockOff)
{
    EXPECT_EQ(keyDown(SDLK_KP_8), extendedKeyCode(72));
    EXPECT_EQ(keyDown(SDLK_KP_3, KMOD_LCTRL), extendedKeyCode(118));
    EXPECT_EQ(keyDown(SDLK_KP_PERIOD), extendedKeyCode(83));
    EXPECT_EQ(keyDown(SDLK_KP_8, KMOD_NUM), noKeyCode);
    EXPECT_EQ(keyDown(SDLK_KP_5), noKeyCode);
}

TEST(Typing, AKeyDownWithItsOwnCodeSwallowsItsTextButNotTheNextKeys)
{
    KeyQueue queue;
    TypingState typing;
    EXPECT_EQ(queueKeyDown(queue, typing, SDLK_c, SDL_SCANCODE_C, KMOD_LCTRL), 1);
    EXPECT_EQ(queueTypedText(queue, typing, "c"), 0);
    EXPECT_EQ(queueKeyDown(queue, typing, SDLK_x, SDL_SCANCODE_X, KMOD_NONE), 0);
    EXPECT_EQ(queueTypedText(queue, typing, "x"), 1);
    EXPECT_EQ(queueTypedText(queue, typing, "é"), 1);
    EXPECT_EQ(drainKeys(queue), (std::vector<int32_t>{3, 120, 130}));
}

TEST(Typing, ACtrlLetterWithoutTextLeavesTheNextTypedKeyAlone)
{
    KeyQueue queue;
    TypingState typing;
    queueKeyDown(queue, typing, SDLK_a, SDL_SCANCODE_A, KMOD_LCTRL);
    queueKeyDown(queue, typing, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_NONE);
    queueKeyDown(queue, typing, SDLK_b, SDL_SCANCODE_B, KMOD_NONE);
    queueTypedText(queue, typing, "b");
    EXPECT_EQ(drainKeys(queue), (std::vector<int32_t>{1, 98}));
}

TEST(Typing, EveryRepetitionIsQueued)
{
    KeyQueue queue;
    TypingState typing;
    for (int32_t i = 0; i < 3; ++i) {
        queueKeyDown(queue, typing, SDLK_RIGHT, SDL_SCANCODE_RIGHT, KMOD_NONE);
    }
    for (int32_t i = 0; i < 2; ++i) {
        queueKeyDown(queue, typing, SDLK_a, SDL_SCANCODE_A, KMOD_NONE);
        queueTypedText(queue, typing, "a");
    }
    const int32_t right = extendedKeyCode(77);
    EXPECT_EQ(drainKeys(queue), (std::vector<int32_t>{right, right, right, 97, 97}));
}

} // namespace
