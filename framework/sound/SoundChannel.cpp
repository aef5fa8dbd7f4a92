// A channel: the handle by which a sound system's owner pauses, resumes and
// watches what it started on the music stream.
#include "framework/sound/SoundChannel.h"

#include "framework/sound/MusicStream.h"
#include "framework/sound/SoundSystem.h"

namespace lum {

SoundChannel::SoundChannel(SoundSystem& system, int index) : system(system), index(index) {}

void SoundChannel::setPaused(bool paused) {
    // A closed system has stopped its music; a later resume must not revive it.
    if (!system.isOpen()) return;
    MusicStream::setPaused(ticket, paused);
}

bool SoundChannel::isPaused() const { return MusicStream::isPaused(ticket); }

bool SoundChannel::isPlaying() const { return MusicStream::isPlaying(ticket); }

double SoundChannel::getPosition() const { return MusicStream::position(ticket); }

} // namespace lum
