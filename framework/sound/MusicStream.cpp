// The music stream on SDL2_mixer's Mix_Music: the mixer decodes and mixes on
// its own audio thread; this side only starts, pauses, resumes and stops it.
#include "framework/sound/MusicStream.h"

#include "framework/sound/MusicStreamState.h"
#include "framework/sound/QuietStderr.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace lum {

namespace {

bool play(void* music, bool loop, std::string& error) {
    // -1 repeats without end; 1 plays the music through once.
    if (Mix_PlayMusic(static_cast<Mix_Music*>(music), loop ? -1 : 1) == 0) return true;
    error = SDL_GetError();
    return false;
}

// The mixer's music volume is one for all pieces and survives their starts.
MusicStreamState stream({play, [](void*) { Mix_PauseMusic(); }, [](void*) { Mix_ResumeMusic(); },
                         [](void*) { Mix_HaltMusic(); },
                         [](void*, bool muted) { Mix_VolumeMusic(muted ? 0 : MIX_MAX_VOLUME); }});

} // namespace

void* MusicStream::load(const std::string& fileName, std::string& error) {
    QuietStderr quiet; // the decoder describes broken files on stderr
    Mix_Music* music = Mix_LoadMUS(fileName.c_str());
    if (!music) error = SDL_GetError();
    return music;
}

void MusicStream::free(void* music) {
    if (!music) return;
    if (stream.music() == music) stream.stop();
    Mix_FreeMusic(static_cast<Mix_Music*>(music));
}

MusicStream::Ticket MusicStream::start(void* music, bool loop, bool paused, std::string& error) {
    return stream.start(music, loop, paused, error);
}

void MusicStream::setPaused(Ticket ticket, bool paused) {
    if (isPlaying(ticket)) stream.setPaused(paused);
}

bool MusicStream::isPlaying(Ticket ticket) {
    return stream.holds(ticket) && (!stream.started() || Mix_PlayingMusic() != 0);
}

bool MusicStream::isPaused(Ticket ticket) { return isPlaying(ticket) && stream.paused(); }

double MusicStream::position(Ticket ticket) {
    if (!isPlaying(ticket) || !stream.started()) return 0.0;
    const double seconds = Mix_GetMusicPosition(static_cast<Mix_Music*>(stream.music()));
    return seconds > 0.0 ? seconds : 0.0;
}

void MusicStream::setMuted(bool muted) { stream.setMuted(muted); }

} // namespace lum
