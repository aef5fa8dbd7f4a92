// Turns an SDL key press or release into the framework's key code. SDL reports
// a printable key by the character the keyboard layout puts on it unshifted;
// the modifiers of the event are applied here: Shift and Caps Lock choose the
// case of a letter, Shift picks the US shifted symbol of a digit or punctuation
// key, and Ctrl with a letter gives its control code. Keys that yield no single
// character map to the named codes (F1-F12, arrows, Escape) or to 0. Characters
// reached only through AltGr are not produced: SDL does not report them on key
// events, and the game reads no text.
#pragma once

#include <SDL_keycode.h>

namespace lum {

class SdlKeyTranslator {
public:
    static unsigned int translate(SDL_Keycode key, Uint16 modifiers);

private:
    static unsigned int translateCharacter(SDL_Keycode key, Uint16 modifiers);
    static unsigned int translateKeypad(SDL_Keycode key, Uint16 modifiers);
    static unsigned int translateNamed(SDL_Keycode key);
    static unsigned int shiftedSymbol(unsigned int character);
};

} // namespace lum
