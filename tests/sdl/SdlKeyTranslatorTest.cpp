// The key codes a player's keys produce on the desktop platform, from SDL's
// layout-aware key codes and the modifier state of each event.
#include "framework/sdl/SdlKeyTranslator.h"

#include "framework/IKeyEvent.h"

#include <gtest/gtest.h>

namespace {

using lum::SdlKeyTranslator;

unsigned int translate(SDL_Keycode key, Uint16 modifiers = KMOD_NONE) { return SdlKeyTranslator::translate(key, modifiers); }

TEST(SdlKeyTranslator, LettersTakeTheirCaseFromShiftAndCapsLock) {
    EXPECT_EQ(translate(SDLK_a), 97u);
    EXPECT_EQ(translate(SDLK_a, KMOD_LSHIFT), 65u);
    EXPECT_EQ(translate(SDLK_z, KMOD_RSHIFT), 90u);
    EXPECT_EQ(translate(SDLK_q, KMOD_CAPS), 81u);
    EXPECT_EQ(translate(SDLK_q, KMOD_CAPS | KMOD_LSHIFT), 113u); // Shift undoes Caps Lock
    EXPECT_EQ(translate(SDLK_m, KMOD_NUM), 109u);                 // Num Lock plays no part
}

TEST(SdlKeyTranslator, DigitsAndPunctuationShiftAsOnAUsKeyboard) {
    EXPECT_EQ(translate(SDLK_1), static_cast<unsigned int>('1'));
    EXPECT_EQ(translate(SDLK_1, KMOD_LSHIFT), static_cast<unsigned int>('!'));
    EXPECT_EQ(translate(SDLK_2, KMOD_LSHIFT), static_cast<unsigned int>('@'));
    EXPECT_EQ(translate(SDLK_0, KMOD_LSHIFT), static_cast<unsigned int>(')'));
    EXPECT_EQ(translate(SDLK_SLASH, KMOD_RSHIFT), static_cast<unsigned int>('?'));
    EXPECT_EQ(translate(SDLK_BACKQUOTE, KMOD_LSHIFT), static_cast<unsigned int>('~'));
    EXPECT_EQ(translate(SDLK_QUOTE, KMOD_LSHIFT), static_cast<unsigned int>('"'));
    EXPECT_EQ(translate(SDLK_BACKSLASH, KMOD_LSHIFT), static_cast<unsigned int>('|'));
    EXPECT_EQ(translate(SDLK_MINUS), static_cast<unsigned int>('-'));
    EXPECT_EQ(translate(SDLK_5, KMOD_CAPS), static_cast<unsigned int>('5')); // Caps Lock shifts letters only
}

TEST(SdlKeyTranslator, LatinOneLettersOfOtherLayoutsKeepTheirCode) {
    EXPECT_EQ(translate(0xE4), 0xE4u);              // ä on a German layout
    EXPECT_EQ(translate(0xE4, KMOD_LSHIFT), 0xC4u); // Ä
    EXPECT_EQ(translate(0xDF, KMOD_LSHIFT), 0xDFu); // ß has no upper case of its own
    EXPECT_EQ(translate(0xA7, KMOD_LSHIFT), 0xA7u); // § is no letter
    EXPECT_EQ(translate(0x3B1), 0u);                // α: no single-byte character
}

TEST(SdlKeyTranslator, KeysWithAFixedCharacterIgnoreModifiers) {
    EXPECT_EQ(translate(SDLK_SPACE), 32u);
    EXPECT_EQ(translate(SDLK_SPACE, KMOD_LSHIFT), 32u);
    EXPECT_EQ(translate(SDLK_RETURN), 13u);
    EXPECT_EQ(translate(SDLK_KP_ENTER), 13u);
    EXPECT_EQ(translate(SDLK_BACKSPACE), 8u);
    EXPECT_EQ(translate(SDLK_DELETE), 8u);
    EXPECT_EQ(translate(SDLK_TAB), 9u);
    EXPECT_EQ(translate(SDLK_TAB, KMOD_LSHIFT), 9u);
    EXPECT_EQ(translate(SDLK_ESCAPE), 27u);
    EXPECT_EQ(translate(SDLK_ESCAPE, KMOD_LCTRL | KMOD_LSHIFT), 27u);
}

TEST(SdlKeyTranslator, CtrlWithALetterGivesItsControlCode) {
    EXPECT_EQ(translate(SDLK_a, KMOD_LCTRL), 1u);
    EXPECT_EQ(translate(SDLK_c, KMOD_RCTRL | KMOD_LSHIFT), 3u);
    EXPECT_EQ(translate(SDLK_z, KMOD_LCTRL | KMOD_CAPS), 26u);
    EXPECT_EQ(translate(SDLK_LEFTBRACKET, KMOD_LCTRL), 27u);
    EXPECT_EQ(translate(SDLK_BACKSLASH, KMOD_LCTRL), 28u);
    EXPECT_EQ(translate(SDLK_RIGHTBRACKET, KMOD_LCTRL), 29u);
    EXPECT_EQ(translate(SDLK_1, KMOD_LCTRL), 0u); // no character for Ctrl with a digit
}

TEST(SdlKeyTranslator, NamedKeysWithoutACharacter) {
    const SDL_Keycode functionKeys[] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4,  SDLK_F5,  SDLK_F6,
                                        SDLK_F7, SDLK_F8, SDLK_F9, SDLK_F10, SDLK_F11, SDLK_F12};
    for (unsigned int i = 0; i < 12; ++i) EXPECT_EQ(translate(functionKeys[i]), lum::KEY_F1 + i) << "F" << i + 1;
    EXPECT_EQ(translate(SDLK_F1, KMOD_LSHIFT), 128u);
    EXPECT_EQ(translate(SDLK_LEFT), 140u);
    EXPECT_EQ(translate(SDLK_UP), 141u);
    EXPECT_EQ(translate(SDLK_RIGHT), 142u);
    EXPECT_EQ(translate(SDLK_DOWN, KMOD_LSHIFT), 143u);
}

TEST(SdlKeyTranslator, OtherKeysGiveZero) {
    const SDL_Keycode keys[] = {SDLK_LSHIFT, SDLK_RSHIFT, SDLK_LCTRL, SDLK_LALT, SDLK_CAPSLOCK,
                                SDLK_HOME,   SDLK_INSERT, SDLK_F13,   SDLK_MENU, SDLK_UNKNOWN};
    for (SDL_Keycode key : keys) EXPECT_EQ(translate(key, KMOD_LSHIFT), 0u) << "key " << key;
}

TEST(SdlKeyTranslator, KeypadFollowsNumLock) {
    EXPECT_EQ(translate(SDLK_KP_7, KMOD_NUM), static_cast<unsigned int>('7'));
    EXPECT_EQ(translate(SDLK_KP_0, KMOD_NUM), static_cast<unsigned int>('0'));
    EXPECT_EQ(translate(SDLK_KP_PERIOD, KMOD_NUM), static_cast<unsigned int>('.'));
    // Without Num Lock the keypad is a cursor block.
    EXPECT_EQ(translate(SDLK_KP_4), 140u);
    EXPECT_EQ(translate(SDLK_KP_8), 141u);
    EXPECT_EQ(translate(SDLK_KP_6), 142u);
    EXPECT_EQ(translate(SDLK_KP_2), 143u);
    EXPECT_EQ(translate(SDLK_KP_PERIOD), 8u);
    EXPECT_EQ(translate(SDLK_KP_5), 0u);
    EXPECT_EQ(translate(SDLK_KP_0), 0u);
    // The operators are the same either way.
    EXPECT_EQ(translate(SDLK_KP_DIVIDE), static_cast<unsigned int>('/'));
    EXPECT_EQ(translate(SDLK_KP_MULTIPLY, KMOD_NUM), static_cast<unsigned int>('*'));
    EXPECT_EQ(translate(SDLK_KP_MINUS), static_cast<unsigned int>('-'));
    EXPECT_EQ(translate(SDLK_KP_PLUS), static_cast<unsigned int>('+'));
}

} // namespace
