// Keyboard listeners, the key event record and the framework's key codes.
#pragma once

namespace lum {

enum ButtonState : unsigned int { PRESSED = 1, RELEASED = 2 };

// A key that yields one character reports that character (32 space, 13 Enter,
// 8 Backspace, 9 Tab, upper case with Shift); the named keys below otherwise.
enum KeyCode : unsigned int {
    KEY_NONE = 0,
    KEY_BACKSPACE = 8,
    KEY_DELETE = 8,
    KEY_TAB = 9,
    KEY_ENTER = 13,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_F1 = 128, KEY_F2, KEY_F3, KEY_F4, KEY_F5, KEY_F6,
    KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12,
    KEY_LEFT = 140,
    KEY_UP = 141,
    KEY_RIGHT = 142,
    KEY_DOWN = 143,
};

// One record owned by the App and reused for every key event: copy what you need.
struct KeyEvent {
    unsigned int key;
    unsigned int state; // a ButtonState
};

class IKeyEvent {
public:
    virtual ~IKeyEvent() = default;
    // True lets the event go on to later listeners; false stops it here.
    virtual bool onKey(const KeyEvent& event) = 0;
};

} // namespace lum
