// A sound system: the audio device, the sounds made from files and the channels
// that play them. Created and closed by its owner (the menu per visit, the play
// state per match). Without a device, or with a missing or broken file, it stays
// usable and silent, with one warning line in the log per failure.
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
    // cannot be opened. The sound belongs to this system until released.
    Sound* createSound(const std::string& fileName);
    // Starts the sound at once on a free channel; null when nothing can play.
    // The channel belongs to this system.
    SoundChannel* playSound(Sound* sound, bool paused = false);
    // Once per frame from the play state.
    void update();
    // Stops every channel, releases what is left, closes the device.
    void close();

    bool isOpen() const { return open; }
    // Systems initialised and not yet closed, in the whole program.
    static int openSystems();

private:
    friend class Sound;
    friend class SoundChannel;
    struct Backend;

    Backend* backend = nullptr;
    bool open = false;
};

} // namespace lum
