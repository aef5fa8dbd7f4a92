// M, on every screen: the music off, and on again at a second M. It listens
// for the whole run, so no screen's own keys stand in its way.
#pragma once

#include "framework/IKeyEvent.h"

class musicSwitch : public lum::IKeyEvent {
public:
    // Toggles at the first press of m or M, not at the presses a held key
    // repeats; always lets the event go on.
    bool onKey(const lum::KeyEvent& event) override;

private:
    bool held = false;
};
