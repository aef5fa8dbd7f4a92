// Support for the tests that play music: SDL's disk audio driver writes every
// mixed sample to the file named by SDL_DISKAUDIOFILE, which is read back and
// measured here, and the warning lines of the log this test process writes.
#pragma once

#include "framework/sound/AudioDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace soundtest {

using Samples = std::vector<std::int16_t>;

constexpr long framesPerSecond = lum::AudioDevice::sampleRate;
// Output that may already be mixed, or still in flight to the file, when a
// call returns: a device buffer, the file's write buffer and some slack.
constexpr long settleFrames = framesPerSecond / 4;

inline long frames(double seconds) { return static_cast<long>(seconds * framesPerSecond); }

// Polls until the condition holds; false after five seconds. The device mixes
// on its own thread, so its effects are waited for, not slept on.
inline bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Frames of output so far, each a 16-bit stereo sample pair.
inline long framesWritten() {
    struct stat info {};
    const char* path = std::getenv("SDL_DISKAUDIOFILE");
    return path && stat(path, &info) == 0 ? static_cast<long>(info.st_size / lum::AudioDevice::bytesPerFrame) : 0;
}

// The left channel of `seconds` of output from frame `from` on, once written.
inline Samples heard(long from, double seconds) {
    const long to = from + frames(seconds);
    EXPECT_TRUE(eventually([to] { return framesWritten() >= to; })) << "the disk audio driver writes too little";
    std::ifstream file(std::getenv("SDL_DISKAUDIOFILE"), std::ios::binary);
    file.seekg(from * lum::AudioDevice::bytesPerFrame);
    Samples samples;
    std::int16_t frame[lum::AudioDevice::channels];
    while (static_cast<long>(samples.size()) < to - from && file.read(reinterpret_cast<char*>(frame), sizeof frame)) {
        samples.push_back(frame[0]);
    }
    return samples;
}

// Index of the first non-zero sample, or -1.
inline long firstSound(const Samples& samples) {
    const auto found = std::find_if(samples.begin(), samples.end(), [](std::int16_t sample) { return sample != 0; });
    return found == samples.end() ? -1 : static_cast<long>(found - samples.begin());
}

inline bool allSilent(const Samples& samples) { return firstSound(samples) < 0; }

// `seconds` of samples from the first sound on, or fewer when the output ends
// sooner; none when it is all silent.
inline Samples opening(const Samples& samples, double seconds) {
    const long onset = firstSound(samples);
    if (onset < 0) return {};
    return Samples(samples.begin() + onset, samples.begin() + std::min<long>(samples.size(), onset + frames(seconds)));
}

// Pitch in Hz from the zero crossings, with hysteresis against the decoder's
// low-level noise.
inline double pitch(const Samples& samples) {
    int side = 0, crossings = 0;
    for (const std::int16_t sample : samples) {
        const int now = sample > 2000 ? 1 : sample < -2000 ? -1 : side;
        crossings += side != 0 && now != side;
        side = now;
    }
    return crossings / 2.0 * framesPerSecond / static_cast<double>(samples.size());
}

// The lowest peak over windows of `window` samples: small where there is a gap.
inline int lowestPeak(const Samples& samples, long window) {
    int lowest = 32767;
    for (std::size_t start = 0; start + window <= samples.size(); start += window) {
        const auto [low, high] = std::minmax_element(samples.begin() + start, samples.begin() + start + window);
        lowest = std::min(lowest, std::max(-int(*low), int(*high)));
    }
    return lowest;
}

// The "W: " lines of this process's log.txt so far.
inline std::vector<std::string> warnings() {
    std::ifstream file("log.txt");
    std::vector<std::string> found;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("W: ", 0) == 0) found.push_back(line);
    }
    return found;
}

} // namespace soundtest
