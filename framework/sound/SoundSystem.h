// A sound system: the audio device, the sounds made from files and the channels
// that play them. Created and closed by its owner (the menu per visit, the play
// state per match). Without a device, or with a missing or broken file, it stays
// usable and silent, with one warning line in the log per failure.
//
// Music is streamed from its file, and one piece plays at a time in the whole
// program: a newer playSound, on this system or another, takes the stream over
// and the channel that played before reports that it has stopped.
#pragma once

#include <string>

namespace lum {

class Sound;
class SoundChannel;

class SoundSystem {
public:
    SoundSystem();
    ~SoundSystem(); // closes the system when its owner has not
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // Opens the audio device with room for `channels` channels.
    void init(int channels);
    // A sound streamed from an MP3 (or other supported) file; null when the file
    // cannot be opened or when the system has no device. The sound belongs to
    // this system until released.
    Sound* createSound(const std::string& fileName);
    // Starts the sound at once on a free channel, from its beginning; a paused
    // start waits for the channel's resume. Null when nothing can play. The
    // channel belongs to this system.
    SoundChannel* playSound(Sound* sound, bool paused = false);
    // Once per frame from the play state. The mixer streams on its own audio
    // thread, so there is nothing that has to wait for this call.
    void update();
    // Stops every channel, releases what is left, closes the device.
    void close();

    // Initialised and not closed; true also for a silent system without a device.
    bool isOpen() const { return open; }
    // Systems initialised and not yet closed, in the whole program.
    static int openSystems();
    // All music of the program silent or heard, now and for later starts;
    // silenced music plays on, so it goes on from where it would be.
    static void setMuted(bool muted);
    static bool isMuted();

private:
    friend class Sound;
    friend class SoundChannel;
    struct Backend;

    // Stops the sound if it plays, then frees it (Sound::release).
    void releaseSound(Sound* sound);

    Backend* backend = nullptr;
    bool open = false;
};

} // namespace lum
