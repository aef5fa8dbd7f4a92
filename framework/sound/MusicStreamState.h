// What the one music stream holds, kept alike by the backends that play one
// piece at a time: the ticket of the last start, the piece, whether it loops
// and is paused, and whether the backend has been asked to play it. A paused
// start reaches the backend only at its resume, so not a moment of it is heard
// before. The backend lends the five things it does to a piece of its own.
#pragma once

#include "framework/sound/MusicStream.h"

#include <string>

namespace lum {

class MusicStreamState {
public:
    struct Backend {
        // From the piece's beginning; false, with the reason in `error`, when refused.
        bool (*play)(void* music, bool loop, std::string& error);
        void (*pause)(void* music);
        void (*resume)(void* music);
        void (*stop)(void* music);
        // Silent or heard, the piece playing on regardless.
        void (*mute)(void* music, bool muted);
    };

    // Constant: a backend's stream is ready before any static object could play.
    constexpr explicit MusicStreamState(const Backend& backend) : backend(backend) {}

    // Stops what the stream held and takes it over; 0, with the reason, when refused.
    MusicStream::Ticket start(void* music, bool loop, bool paused, std::string& error);
    // Only for the ticket that holds the stream and still plays.
    void setPaused(bool paused);
    // The piece from its beginning again, for a backend that loops it itself;
    // a paused piece begins at its resume. A refusal ends the start.
    void replay();
    void stop();
    // Held for every later start as well.
    void setMuted(bool muted);

    bool holds(MusicStream::Ticket ticket) const { return ticket != 0 && ticket == current.ticket; }
    void* music() const { return current.music; }
    bool loops() const { return current.loop; }
    bool paused() const { return current.paused; }
    bool started() const { return current.started; }

private:
    struct Current {
        MusicStream::Ticket ticket = 0;
        void* music = nullptr;
        bool loop = false;
        bool paused = false;
        bool started = false;
    };

    bool play(std::string& error);

    const Backend backend;
    Current current;
    bool muted = false;
    MusicStream::Ticket lastTicket = 0;
};

} // namespace lum
