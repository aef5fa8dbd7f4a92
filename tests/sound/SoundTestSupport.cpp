// Support for the sound tests: reading the disk driver's output and the log,
// capturing standard error.
#include "tests/sound/SoundTestSupport.h"

#include "framework/Log.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace soundtest {

namespace {

constexpr auto patience = std::chrono::seconds(5);

} // namespace

std::string fixture(const std::string& name) { return std::string(SOUND_FIXTURES) + "/" + name; }

DiskOutput::DiskOutput() {
    const char* file = std::getenv("SDL_DISKAUDIOFILE");
    path = file ? file : "";
}

long DiskOutput::frames() const {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) return 0;
    return static_cast<long>(info.st_size / lum::AudioDevice::bytesPerFrame);
}

bool DiskOutput::waitFor(long count) const {
    return eventually([&] { return frames() >= count; });
}

std::vector<std::int16_t> DiskOutput::left(long from, long to) const {
    std::vector<std::int16_t> samples;
    std::ifstream file(path, std::ios::binary);
    file.seekg(from * lum::AudioDevice::bytesPerFrame);
    std::int16_t frame[lum::AudioDevice::channels];
    for (long index = from; index < to && file.read(reinterpret_cast<char*>(frame), sizeof frame); ++index) {
        samples.push_back(frame[0]);
    }
    return samples;
}

bool allSilent(const std::vector<std::int16_t>& samples) { return firstSound(samples) < 0; }

long firstSound(const std::vector<std::int16_t>& samples) {
    for (std::size_t index = 0; index < samples.size(); ++index) {
        if (samples[index] != 0) return static_cast<long>(index);
    }
    return -1;
}

double pitch(const std::vector<std::int16_t>& samples) {
    constexpr int threshold = 2000;
    int side = 0;
    long crossings = 0;
    for (const std::int16_t sample : samples) {
        const int now = sample > threshold ? 1 : sample < -threshold ? -1 : side;
        if (side != 0 && now != side) ++crossings;
        side = now;
    }
    return crossings / 2.0 * framesPerSecond / static_cast<double>(samples.size());
}

int lowestPeak(const std::vector<std::int16_t>& samples, long window) {
    int lowest = 32767;
    for (std::size_t start = 0; start + window <= samples.size(); start += window) {
        int peak = 0;
        for (long index = 0; index < window; ++index) peak = std::max(peak, std::abs(int(samples[start + index])));
        lowest = std::min(lowest, peak);
    }
    return lowest;
}

bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

StderrCapture::StderrCapture() {
    char name[] = "/tmp/sound-stderr-XXXXXX";
    const int file = mkstemp(name);
    if (file < 0) return;
    path = name;
    std::fflush(stderr);
    saved = dup(STDERR_FILENO);
    dup2(file, STDERR_FILENO);
    close(file);
}

StderrCapture::~StderrCapture() { text(); }

std::string StderrCapture::text() {
    if (saved >= 0) {
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
        saved = -1;
    }
    if (path.empty()) return captured;
    std::ifstream file(path);
    std::stringstream content;
    content << file.rdbuf();
    std::remove(path.c_str());
    path.clear();
    captured = content.str();
    return captured;
}

std::vector<std::string> warnings() {
    // A message's line is written out when the next message begins.
    lum::log.info("(the sound test reads the log)");
    std::ifstream file("log.txt");
    std::vector<std::string> found;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("W: ", 0) == 0) found.push_back(line);
    }
    return found;
}

} // namespace soundtest
