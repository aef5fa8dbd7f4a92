// The music stream's bookkeeping, shared by the SDL2_mixer and MCI backends.
#include "framework/sound/MusicStreamState.h"

namespace lum {

MusicStream::Ticket MusicStreamState::start(void* music, bool loop, bool paused, std::string& error) {
    stop();
    current.music = music;
    current.loop = loop;
    current.paused = paused;
    current.ticket = ++lastTicket;
    if (!paused && !play(error)) return 0;
    return current.ticket;
}

void MusicStreamState::setPaused(bool paused) {
    if (current.paused == paused) return;
    current.paused = paused;
    if (!current.started) {
        std::string ignored; // a refused start leaves the ticket not playing
        if (!paused) play(ignored);
    } else if (paused) {
        backend.pause(current.music);
    } else {
        backend.resume(current.music);
    }
}

void MusicStreamState::replay() {
    if (current.paused) {
        current.started = false; // as a paused start: played at the resume
        return;
    }
    std::string ignored;
    play(ignored);
}

void MusicStreamState::stop() {
    if (current.started) backend.stop(current.music);
    current = Current();
}

void MusicStreamState::setMuted(bool value) {
    muted = value;
    if (current.music != nullptr) backend.mute(current.music, muted);
}

bool MusicStreamState::play(std::string& error) {
    // Before the play, so not a moment of a muted piece is heard.
    backend.mute(current.music, muted);
    if (backend.play(current.music, current.loop, error)) {
        current.started = true;
        return true;
    }
    current = Current();
    return false;
}

} // namespace lum
