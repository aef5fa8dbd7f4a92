#include "framework/RecordingHeader.h"

#include <cstdlib>

#ifndef LUM_BUILD_VERSION
#define LUM_BUILD_VERSION "unknown"
#endif

namespace lum {

namespace {

// The system's C library decides the random numbers, so it names the platform.
const char* platformName() {
#if defined(_WIN32)
    return "windows";
#elif defined(__EMSCRIPTEN__)
    return "web";
#else
    return "linux";
#endif
}

std::array<std::uint32_t, 4> generatorFingerprint() {
    std::srand(1);
    std::array<std::uint32_t, 4> outputs{};
    for (auto& output : outputs) output = static_cast<std::uint32_t>(std::rand());
    return outputs;
}

} // namespace

RecordingHeader RecordingHeader::ofThisBuild() {
    RecordingHeader header;
    header.platform = platformName();
    header.generator = generatorFingerprint();
    header.build = LUM_BUILD_VERSION;
    return header;
}

std::string RecordingHeader::refusalHere() const {
    const RecordingHeader here = ofThisBuild();
    if (platform != here.platform) return "it was recorded on " + platform + ", and this is " + here.platform;
    if (generator != here.generator) return "it was recorded with another random number generator";
    return "";
}

std::string RecordingHeader::refusalFor(const std::string& programName, unsigned int screenWidth,
                                        unsigned int screenHeight) const {
    if (program != programName) return "it is a recording of " + program + ", not of " + programName;
    if (width != screenWidth || height != screenHeight) {
        return "its screen is " + std::to_string(width) + " x " + std::to_string(height) + ", not " +
               std::to_string(screenWidth) + " x " + std::to_string(screenHeight);
    }
    return "";
}

} // namespace lum
