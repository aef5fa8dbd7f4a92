// A channel of a SoundSystem playing one sound. The channel stays valid until
// its system is destroyed; once its sound has ended, was stopped or was taken
// over by a newer play, it reports not playing and ignores pausing.
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
    unsigned long ticket = 0; // the start on the music stream this channel made last
};

} // namespace lum
