// The key codes a player's keys produce on the desktop platform, from SDL's
// layout-aware key codes and the modifier state of each event.
#include "framework/sdl/SdlKeyTranslator.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    SDL_Keycode key;
    Uint16 modifiers;
    unsigned int expected;
};

TEST(SdlKeyTranslator, KeysWithTheirModifiersGiveTheFrameworkCodes) {
    const Case cases[] = {
        // Letters take their case from Shift and Caps Lock; Shift undoes Caps Lock.
        {SDLK_a, KMOD_NONE, 'a'}, {SDLK_a, KMOD_LSHIFT, 'A'}, {SDLK_z, KMOD_RSHIFT, 'Z'},
        {SDLK_q, KMOD_CAPS, 'Q'}, {SDLK_q, KMOD_CAPS | KMOD_LSHIFT, 'q'}, {SDLK_m, KMOD_NUM, 'm'},
        // Latin-1 letters of other layouts shift the same way; others keep their code or give none.
        {0xE4, KMOD_NONE, 0xE4}, {0xE4, KMOD_LSHIFT, 0xC4}, {0xDF, KMOD_LSHIFT, 0xDF}, {0x3B1, KMOD_NONE, 0},
        // Digits and punctuation shift as on a US keyboard; Caps Lock shifts letters only.
        {SDLK_1, KMOD_NONE, '1'}, {SDLK_1, KMOD_LSHIFT, '!'}, {SDLK_0, KMOD_LSHIFT, ')'},
        {SDLK_5, KMOD_CAPS, '5'}, {SDLK_SLASH, KMOD_RSHIFT, '?'}, {SDLK_BACKQUOTE, KMOD_LSHIFT, '~'},
        {SDLK_QUOTE, KMOD_LSHIFT, '"'}, {SDLK_MINUS, KMOD_NONE, '-'},
        // Keys with a fixed character ignore the modifiers.
        {SDLK_SPACE, KMOD_LSHIFT, 32}, {SDLK_RETURN, KMOD_NONE, 13}, {SDLK_KP_ENTER, KMOD_NONE, 13},
        {SDLK_BACKSPACE, KMOD_NONE, 8}, {SDLK_DELETE, KMOD_NONE, 8}, {SDLK_TAB, KMOD_LSHIFT, 9},
        {SDLK_ESCAPE, KMOD_LCTRL | KMOD_LSHIFT, 27},
        // Ctrl with a letter or a bracket key gives its control code, with a digit nothing.
        {SDLK_a, KMOD_LCTRL, 1}, {SDLK_c, KMOD_RCTRL | KMOD_LSHIFT, 3}, {SDLK_z, KMOD_LCTRL | KMOD_CAPS, 26},
        {SDLK_RIGHTBRACKET, KMOD_LCTRL, 29}, {SDLK_1, KMOD_LCTRL, 0},
        // Named keys.
        {SDLK_F1, KMOD_LSHIFT, 128}, {SDLK_LEFT, KMOD_NONE, 140}, {SDLK_UP, KMOD_NONE, 141},
        {SDLK_RIGHT, KMOD_NONE, 142}, {SDLK_DOWN, KMOD_LSHIFT, 143},
        // The keypad gives digits with Num Lock and is a cursor block without.
        {SDLK_KP_7, KMOD_NUM, '7'}, {SDLK_KP_PERIOD, KMOD_NUM, '.'}, {SDLK_KP_4, KMOD_NONE, 140},
        {SDLK_KP_2, KMOD_NONE, 143}, {SDLK_KP_PERIOD, KMOD_NONE, 8}, {SDLK_KP_5, KMOD_NONE, 0},
        {SDLK_KP_MINUS, KMOD_NUM, '-'},
        // Modifiers alone and keys without a character give nothing.
        {SDLK_LSHIFT, KMOD_LSHIFT, 0}, {SDLK_LCTRL, KMOD_LCTRL, 0}, {SDLK_CAPSLOCK, KMOD_NONE, 0},
        {SDLK_HOME, KMOD_NONE, 0}, {SDLK_F13, KMOD_NONE, 0}, {SDLK_UNKNOWN, KMOD_NONE, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lum::SdlKeyTranslator::translate(c.key, c.modifiers), c.expected)
            << "key " << c.key << " with modifiers " << c.modifiers;
    }
    // SDL numbers F1 to F12 in a row.
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(lum::SdlKeyTranslator::translate(SDLK_F1 + i, KMOD_NONE), 128u + i) << "F" << i + 1;
}

} // namespace
