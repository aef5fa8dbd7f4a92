// A sound made by a SoundSystem from a file.
#pragma once

namespace lum {

class SoundSystem;

class Sound {
public:
    enum Mode { LOOP_OFF = 1, LOOP_NORMAL = 2 };

    void setMode(Mode mode);
    Mode getMode() const { return mode; }
    // Stops it wherever it plays and frees it; the pointer is invalid afterwards.
    void release();

private:
    friend class SoundSystem;
    Sound(SoundSystem& system, void* data);
    ~Sound();

    SoundSystem& system;
    void* data; // the backend's decoder
    Mode mode = LOOP_OFF;
};

} // namespace lum
