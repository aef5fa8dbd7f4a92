// Muting goes through the sound layer, which keeps the music playing unheard,
// so unmuting never restarts a piece.
#include "shell/musicSwitch.h"

#include "framework/sound/SoundSystem.h"

bool musicSwitch::onKey(const lum::KeyEvent& event) {
    if (event.key != 'm' && event.key != 'M') return true;
    const bool pressed = event.state == lum::PRESSED;
    if (pressed && !held) lum::SoundSystem::setMuted(!lum::SoundSystem::isMuted());
    held = pressed;
    return true;
}
