// Key translation for the SDL platform; see the header for the rules.
#include "framework/sdl/SdlKeyTranslator.h"

#include "framework/IKeyEvent.h"

namespace lum {

namespace {

bool isAsciiLetter(SDL_Keycode key) { return key >= 'a' && key <= 'z'; }

// Lower-case Latin-1 letters (à to þ, without ÷): the layouts that put them on
// a key of their own report them unshifted, and their upper case is 32 below.
bool isLatin1Letter(SDL_Keycode key) { return key >= 0xE0 && key <= 0xFE && key != 0xF7; }

bool isPrintable(SDL_Keycode key) { return (key > ' ' && key < 0x7F) || (key >= 0xA0 && key <= 0xFF); }

} // namespace

unsigned int SdlKeyTranslator::translate(SDL_Keycode key, Uint16 modifiers) {
    switch (key) {
    case SDLK_ESCAPE: return KEY_ESCAPE;
    case SDLK_SPACE: return KEY_SPACE;
    case SDLK_RETURN: return KEY_ENTER;
    case SDLK_BACKSPACE: return KEY_BACKSPACE;
    case SDLK_DELETE: return KEY_DELETE;
    case SDLK_TAB: return KEY_TAB;
    default: break;
    }
    if (isPrintable(key)) return translateCharacter(key, modifiers);
    const unsigned int keypad = translateKeypad(key, modifiers);
    if (keypad != KEY_NONE) return keypad;
    return translateNamed(key);
}

unsigned int SdlKeyTranslator::translateCharacter(SDL_Keycode key, Uint16 modifiers) {
    const bool shift = (modifiers & KMOD_SHIFT) != 0;
    const bool caps = (modifiers & KMOD_CAPS) != 0;
    const auto character = static_cast<unsigned int>(key);

    if (modifiers & KMOD_CTRL) {
        // Ctrl turns a letter and the three keys beside it into ASCII control
        // codes; with any other key the layout yields no character.
        if (isAsciiLetter(key)) return character - 'a' + 1;
        if (key == '[' || key == '\\' || key == ']') return character - 0x40;
        return KEY_NONE;
    }
    if (isAsciiLetter(key) || isLatin1Letter(key)) return shift != caps ? character - 32 : character;
    return shift ? shiftedSymbol(character) : character;
}

unsigned int SdlKeyTranslator::translateKeypad(SDL_Keycode key, Uint16 modifiers) {
    switch (key) {
    case SDLK_KP_ENTER: return KEY_ENTER;
    case SDLK_KP_DIVIDE: return '/';
    case SDLK_KP_MULTIPLY: return '*';
    case SDLK_KP_MINUS: return '-';
    case SDLK_KP_PLUS: return '+';
    default: break;
    }
    const bool numLock = (modifiers & KMOD_NUM) != 0;
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        if (numLock) return '1' + static_cast<unsigned int>(key - SDLK_KP_1);
        // Without Num Lock the keypad is a second cursor block.
        switch (key) {
        case SDLK_KP_4: return KEY_LEFT;
        case SDLK_KP_8: return KEY_UP;
        case SDLK_KP_6: return KEY_RIGHT;
        case SDLK_KP_2: return KEY_DOWN;
        default: return KEY_NONE;
        }
    }
    if (key == SDLK_KP_0) return numLock ? '0' : unsigned{KEY_NONE};
    if (key == SDLK_KP_PERIOD) return numLock ? '.' : unsigned{KEY_DELETE};
    return KEY_NONE;
}

unsigned int SdlKeyTranslator::translateNamed(SDL_Keycode key) {
    if (key >= SDLK_F1 && key <= SDLK_F12) return KEY_F1 + static_cast<unsigned int>(key - SDLK_F1);
    switch (key) {
    case SDLK_LEFT: return KEY_LEFT;
    case SDLK_UP: return KEY_UP;
    case SDLK_RIGHT: return KEY_RIGHT;
    case SDLK_DOWN: return KEY_DOWN;
    default: return KEY_NONE;
    }
}

// The shifted symbols of a US keyboard; other characters keep their value.
unsigned int SdlKeyTranslator::shiftedSymbol(unsigned int character) {
    static const char unshifted[] = "1234567890-=[]\\;',./`";
    static const char shifted[] = "!@#$%^&*()_+{}|:\"<>?~";
    for (unsigned int i = 0; unshifted[i] != '\0'; ++i) {
        if (static_cast<unsigned char>(unshifted[i]) == character) return static_cast<unsigned char>(shifted[i]);
    }
    return character;
}

} // namespace lum
