// A channel of a SoundSystem playing one sound.
#pragma once

namespace lum {

class SoundSystem;

class SoundChannel {
public:
    // Pausing keeps the position; resuming continues from it.
    void setPaused(bool paused);
    bool isPaused() const;
    // False once the sound has played to its end (without looping) or was stopped.
    bool isPlaying() const;
    // Seconds played from the start of the sound.
    double getPosition() const;

private:
    friend class SoundSystem;
    SoundChannel(SoundSystem& system, int index);

    SoundSystem& system;
    int index;
};

} // namespace lum
