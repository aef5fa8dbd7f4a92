// The music stream on SDL2_mixer's Mix_Music: the mixer decodes and mixes on
// its own audio thread; this side only starts, pauses, resumes and stops it.
#include "framework/sound/MusicStream.h"

#include "framework/sound/QuietStderr.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace lum {

namespace {

// What is on the stream. `started` is false while a paused start waits for
// its resume: the mixer is only asked to play then, so not a single buffer of
// the music is heard before.
struct Current {
    MusicStream::Ticket ticket = 0;
    Mix_Music* music = nullptr;
    bool loop = false;
    bool paused = false;
    bool started = false;
};

Current current;
MusicStream::Ticket lastTicket = 0;

bool play(std::string& error) {
    // -1 repeats without end; 1 plays the music through once.
    if (Mix_PlayMusic(current.music, current.loop ? -1 : 1) == 0) {
        current.started = true;
        return true;
    }
    error = SDL_GetError();
    current = Current();
    return false;
}

void stopCurrent() {
    if (current.started) Mix_HaltMusic();
    current = Current();
}

} // namespace

void* MusicStream::load(const std::string& fileName, std::string& error) {
    QuietStderr quiet; // the decoder describes broken files on stderr
    Mix_Music* music = Mix_LoadMUS(fileName.c_str());
    if (!music) error = SDL_GetError();
    return music;
}

void MusicStream::free(void* music) {
    if (!music) return;
    if (current.music == music) stopCurrent();
    Mix_FreeMusic(static_cast<Mix_Music*>(music));
}

MusicStream::Ticket MusicStream::start(void* music, bool loop, bool paused, std::string& error) {
    stopCurrent();
    current.music = static_cast<Mix_Music*>(music);
    current.loop = loop;
    current.paused = paused;
    current.ticket = ++lastTicket;
    if (!paused && !play(error)) return 0;
    return current.ticket;
}

void MusicStream::setPaused(Ticket ticket, bool paused) {
    if (!isPlaying(ticket) || current.paused == paused) return;
    current.paused = paused;
    if (!current.started) {
        std::string ignored; // a refused start leaves the ticket not playing
        if (!paused) play(ignored);
    } else if (paused) {
        Mix_PauseMusic();
    } else {
        Mix_ResumeMusic();
    }
}

bool MusicStream::isPlaying(Ticket ticket) {
    if (ticket == 0 || ticket != current.ticket) return false;
    return !current.started || Mix_PlayingMusic() != 0;
}

bool MusicStream::isPaused(Ticket ticket) { return isPlaying(ticket) && current.paused; }

double MusicStream::position(Ticket ticket) {
    if (!isPlaying(ticket) || !current.started) return 0.0;
    const double seconds = Mix_GetMusicPosition(current.music);
    return seconds > 0.0 ? seconds : 0.0;
}

} // namespace lum
