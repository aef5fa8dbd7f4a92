// Turns a DOM keyboard event into the framework's key code. The browser has
// already applied the keyboard layout and the modifiers: `key` is the
// character the key makes ("a", "A", "!", " ") or the key's name ("Escape",
// "ArrowLeft", "F1"). A single character up to 255 is its own code, Ctrl with a
// letter gives the control code, and the named keys take the fixed codes
// (Escape 27, Enter 13, Backspace and Delete 8, Tab 9, F1-F12, the arrows);
// anything else is 0. No browser header is needed, so the desktop tests check
// the table too.
#pragma once

namespace lum {

class WebKeyTranslator {
public:
    // `key` is the event's key text (UTF-8); `ctrl` and `alt` its modifiers.
    static unsigned int translate(const char* key, bool ctrl, bool alt);
    // Keys the game plays with, whose browser action (moving the focus,
    // scrolling, opening help) the page must not take, and F11, which puts
    // the canvas alone in full screen rather than the browser's window.
    static bool isReservedForGame(unsigned int keyCode);

private:
    static unsigned int translateNamed(const char* key);
    static unsigned int translateCharacter(unsigned int character, bool ctrl, bool alt);
    // The one code point of a text of exactly one character, else 0.
    static unsigned int singleCharacter(const char* text);
};

} // namespace lum
