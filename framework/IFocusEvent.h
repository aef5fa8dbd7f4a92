// Focus listeners: told when the program's window gains or loses the keyboard
// focus; in a browser the page being hidden counts as losing it.
#pragma once

namespace lum {

class IFocusEvent {
public:
    virtual ~IFocusEvent() = default;
    // Only changes are told: focused alternates between calls.
    // True lets the event go on to later listeners; false stops it here.
    virtual bool onFocusChange(bool focused) = 0;
};

} // namespace lum
