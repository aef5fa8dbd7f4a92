// The mixer's single music stream, shared by every sound system of the program.
// Music is streamed from its file while it plays, never decoded whole. Only one
// piece plays at a time: a newer start takes the stream over and the music it
// replaces stops. Every start is given a ticket, so the channel that asked for
// it can tell whether the stream still plays what it started.
#pragma once

#include <string>

namespace lum {

class MusicStream {
public:
    using Ticket = unsigned long; // 0 never names a start

    // Opens a music file for streaming; null, with the reason in `error`, when
    // it cannot be opened or is not music the decoders understand.
    static void* load(const std::string& fileName, std::string& error);
    // Stops the music if it is on the stream, then closes it.
    static void free(void* music);

    // Starts the music from its beginning, once or looping for ever. A paused
    // start holds the stream without sound until it is resumed. 0, with the
    // reason in `error`, when the mixer refuses.
    static Ticket start(void* music, bool loop, bool paused, std::string& error);
    // Pausing keeps the position; resuming continues from it.
    static void setPaused(Ticket ticket, bool paused);
    // True from the start until the music ends, is stopped or is replaced;
    // a paused stream is still playing.
    static bool isPlaying(Ticket ticket);
    static bool isPaused(Ticket ticket);
    // Seconds into the music, 0 when the ticket no longer plays.
    static double position(Ticket ticket);
    // Silences the stream or lets it be heard again, for what plays now and
    // every later start. The music goes on meanwhile: positions move as if heard.
    static void setMuted(bool muted);
};

} // namespace lum
