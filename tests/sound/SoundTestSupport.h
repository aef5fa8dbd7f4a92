// Support for the sound tests: the mixed output that SDL's disk audio driver
// writes to a file, standard error captured while the layer works, and the
// warning lines of the log this test process writes.
#pragma once

#include "framework/sound/AudioDevice.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace soundtest {

constexpr long framesPerSecond = lum::AudioDevice::sampleRate;
// Output that may already be mixed, or still in flight to the file, when a
// call returns: a device buffer, the file's write buffer and some slack.
constexpr long settleFrames = framesPerSecond / 4;

inline long frames(double seconds) { return static_cast<long>(seconds * framesPerSecond); }

// A fixture MP3 of tests/sound.
std::string fixture(const std::string& name);

// The device's output: the file named by SDL_DISKAUDIOFILE, one frame per
// 16-bit stereo sample pair, growing while the device runs.
class DiskOutput {
public:
    DiskOutput();
    long frames() const;
    // Waits until the output holds `count` frames; false after a few seconds.
    bool waitFor(long count) const;
    // The left channel of frames [from, to).
    std::vector<std::int16_t> left(long from, long to) const;

private:
    std::string path;
};

bool allSilent(const std::vector<std::int16_t>& samples);
// Index of the first non-zero sample, or -1.
long firstSound(const std::vector<std::int16_t>& samples);
// Pitch in Hz from the zero crossings, with hysteresis against the decoder's
// low-level noise.
double pitch(const std::vector<std::int16_t>& samples);
// The lowest peak over windows of `window` samples: small when there is a gap.
int lowestPeak(const std::vector<std::int16_t>& samples, long window);

// Polls until the condition holds; false after a few seconds. The device
// mixes on its own thread, so its effects are waited for, not slept on.
bool eventually(const std::function<bool()>& condition);

// Standard error redirected to a file from construction until text().
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    std::string text();

private:
    int saved = -1;
    std::string path;
    std::string captured;
};

// The "W: " lines of this process's log.txt so far.
std::vector<std::string> warnings();

} // namespace soundtest
