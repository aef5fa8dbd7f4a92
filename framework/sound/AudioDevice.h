// The program's audio output, shared by every open sound system: SDL's audio
// subsystem and the mixer, opened for the first system that asks and kept open
// until the program ends, so switching screens never waits for the driver. The audio subsystem is initialised on its own,
// never together with the video, so a failing audio driver leaves the window
// alone and the game simply runs silently.
#pragma once

namespace lum {

class AudioDevice {
public:
    // The output format asked of the driver: 16-bit signed samples, interleaved.
    static constexpr int sampleRate = 44100;
    static constexpr int channels = 2;
    static constexpr int bytesPerFrame = 2 * channels;
    // Frames mixed per callback: about 46 ms, small enough for prompt pauses.
    static constexpr int bufferFrames = 2048;

    // True when the device is open for one more user, who must call release().
    // A failure is logged as one warning until the device opens again.
    static bool acquire();
    static void release();
    static int users();
};

} // namespace lum
