// A sound: a music file opened for streaming, owned by its system.
#include "framework/sound/Sound.h"

#include "framework/sound/SoundSystem.h"

namespace lum {

Sound::Sound(SoundSystem& system, void* data) : system(system), data(data) {}

Sound::~Sound() = default;

// The mode applies to the next play; a play in progress keeps its own.
void Sound::setMode(Mode newMode) { mode = newMode; }

void Sound::release() { system.releaseSound(this); }

} // namespace lum
