// The key codes a player's keys produce on the desktop platform, from SDL's
// layout-aware key codes and the modifier state of each event.
#include "framework/sdl/SdlKeyTranslator.h"

#include <gtest/gtest.h>

namespace {

TEST(SdlKeyTranslator, KeysWithTheirModifiersGiveTheFrameworkCodes) {
    const struct {
        SDL_Keycode key;
        unsigned int expected;
        Uint16 modifiers = KMOD_NONE;
    } cases[] = {
        // Letters take their case from Shift and Caps Lock; Shift undoes Caps Lock.
        {SDLK_a, 'a'}, {SDLK_a, 'A', KMOD_LSHIFT}, {SDLK_z, 'Z', KMOD_RSHIFT}, {SDLK_q, 'Q', KMOD_CAPS},
        {SDLK_q, 'q', KMOD_CAPS | KMOD_LSHIFT}, {SDLK_m, 'm', KMOD_NUM},
        // Latin-1 letters of other layouts shift the same way; others keep their code or give none.
        {0xE4, 0xE4}, {0xE4, 0xC4, KMOD_LSHIFT}, {0xDF, 0xDF, KMOD_LSHIFT}, {0x3B1, 0},
        // Digits and punctuation shift as on a US keyboard; Caps Lock shifts letters only.
        {SDLK_1, '1'}, {SDLK_1, '!', KMOD_LSHIFT}, {SDLK_0, ')', KMOD_LSHIFT}, {SDLK_5, '5', KMOD_CAPS},
        {SDLK_SLASH, '?', KMOD_RSHIFT}, {SDLK_BACKQUOTE, '~', KMOD_LSHIFT}, {SDLK_QUOTE, '"', KMOD_LSHIFT},
        {SDLK_MINUS, '-'},
        // Keys with a fixed character ignore the modifiers.
        {SDLK_SPACE, 32, KMOD_LSHIFT}, {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13}, {SDLK_BACKSPACE, 8}, {SDLK_DELETE, 8},
        {SDLK_TAB, 9, KMOD_LSHIFT}, {SDLK_ESCAPE, 27, KMOD_LCTRL | KMOD_LSHIFT},
        // Ctrl with a letter or a bracket key gives its control code, with a digit nothing.
        {SDLK_a, 1, KMOD_LCTRL}, {SDLK_c, 3, KMOD_RCTRL | KMOD_LSHIFT}, {SDLK_z, 26, KMOD_LCTRL | KMOD_CAPS},
        {SDLK_RIGHTBRACKET, 29, KMOD_LCTRL}, {SDLK_1, 0, KMOD_LCTRL},
        // Named keys; SDL numbers F1 to F12 in a row.
        {SDLK_F1, 128, KMOD_LSHIFT}, {SDLK_F12, 139}, {SDLK_LEFT, 140}, {SDLK_UP, 141}, {SDLK_RIGHT, 142},
        {SDLK_DOWN, 143, KMOD_LSHIFT},
        // The keypad gives digits with Num Lock and is a cursor block without.
        {SDLK_KP_7, '7', KMOD_NUM}, {SDLK_KP_PERIOD, '.', KMOD_NUM}, {SDLK_KP_4, 140}, {SDLK_KP_2, 143},
        {SDLK_KP_PERIOD, 8}, {SDLK_KP_5, 0}, {SDLK_KP_MINUS, '-', KMOD_NUM},
        // Modifiers alone and keys without a character give nothing.
        {SDLK_LSHIFT, 0, KMOD_LSHIFT}, {SDLK_LCTRL, 0, KMOD_LCTRL}, {SDLK_CAPSLOCK, 0}, {SDLK_HOME, 0}, {SDLK_F13, 0},
        {SDLK_UNKNOWN, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lum::SdlKeyTranslator::translate(c.key, c.modifiers), c.expected) << c.key << " with " << c.modifiers;
}

} // namespace
