// Virtual-key codes to the framework's key codes: the character the keyboard
// layout gives for the key, else the fixed codes of the special keys.
#pragma once

namespace lum {

class Win32KeyTranslator {
public:
    // Escape always gives 27, whatever the layout; then ToAscii with the whole
    // keyboard state; then the special keys; any other key 0.
    static unsigned int translate(unsigned int virtualKey);
    // The codes of keys that make no character: arrows, Delete, Escape, F1-F12.
    static unsigned int special(unsigned int virtualKey);
};

} // namespace lum
