// Key translation through the keyboard layout, with fixed codes for the rest.
#include "framework/win32/Win32KeyTranslator.h"

#include "framework/IKeyEvent.h"

#include <windows.h>

namespace lum {

unsigned int Win32KeyTranslator::translate(unsigned int virtualKey) {
    if (virtualKey == VK_ESCAPE) return KEY_ESCAPE;
    BYTE state[256] = {};
    if (GetKeyboardState(state)) {
        WORD character = 0;
        if (ToAscii(virtualKey, 0, state, &character, 0) == 1) return character;
    }
    return special(virtualKey);
}

unsigned int Win32KeyTranslator::special(unsigned int virtualKey) {
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12) return KEY_F1 + (virtualKey - VK_F1);
    switch (virtualKey) {
    case VK_ESCAPE: return KEY_ESCAPE;
    case VK_LEFT: return KEY_LEFT;
    case VK_UP: return KEY_UP;
    case VK_RIGHT: return KEY_RIGHT;
    case VK_DOWN: return KEY_DOWN;
    case VK_DELETE: return KEY_DELETE;
    default: return 0;
    }
}

} // namespace lum
