// What SDL's disk audio driver wrote to the file named by SDL_DISKAUDIOFILE,
// read back: every mixed frame, a 16-bit stereo sample pair. The device mixes
// on its own thread, so its output is waited for, not slept on. And the
// warnings this process's log holds.
#pragma once

#include "framework/sound/AudioDevice.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace lum::test {

using Samples = std::vector<std::int16_t>;

constexpr long framesPerSecond = AudioDevice::sampleRate;

inline long frames(double seconds) { return static_cast<long>(seconds * framesPerSecond); }

// Polls until the condition holds; false after five seconds.
template <typename Condition> bool eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
}

// Frames of output so far.
inline long framesWritten() {
    struct stat info {};
    return stat(std::getenv("SDL_DISKAUDIOFILE"), &info) == 0 ? long(info.st_size / AudioDevice::bytesPerFrame) : 0;
}

// The left channel of `seconds` of output from frame `from` on, once written.
inline Samples heard(long from, double seconds) {
    const long to = from + frames(seconds);
    EXPECT_TRUE(eventually([to] { return framesWritten() >= to; })) << "the disk audio driver writes too little";
    std::ifstream file(std::getenv("SDL_DISKAUDIOFILE"), std::ios::binary);
    file.seekg(from * AudioDevice::bytesPerFrame);
    Samples samples;
    std::int16_t frame[AudioDevice::channels];
    while (long(samples.size()) < to - from && file.read(reinterpret_cast<char*>(frame), sizeof frame))
        samples.push_back(frame[0]);
    return samples;
}

inline bool allSilent(const Samples& samples) {
    return std::all_of(samples.begin(), samples.end(), [](std::int16_t sample) { return sample == 0; });
}

// The "W: " lines of this process's log.txt so far.
inline std::vector<std::string> warnings() {
    std::ifstream file("log.txt");
    std::vector<std::string> found;
    for (std::string line; std::getline(file, line);)
        if (line.rfind("W: ", 0) == 0) found.push_back(line);
    return found;
}

} // namespace lum::test
