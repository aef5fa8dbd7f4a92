// What a recording says about the run it holds, and whether this build can
// replay it: the same format, platform and random number generator, and the
// same program at the same screen size. The build's version is only told.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lum {

struct RecordingHeader {
    static constexpr unsigned int FORMAT_VERSION = 1;

    unsigned int formatVersion = FORMAT_VERSION;
    std::string program;  // the name the program runs under
    std::string platform; // "linux", "windows" or "web"
    // rand()'s first outputs after srand(1): the C library's generator.
    std::array<std::uint32_t, 4> generator{};
    std::string build; // the framework's version and commit
    unsigned int width = 0;
    unsigned int height = 0;
    // The seeds handed out before the recording began (main's, run's).
    std::vector<unsigned int> seeds;

    // This build's platform, generator and version. Reseeds the generator.
    static RecordingHeader ofThisBuild();
    // Why this build cannot replay the recording; empty when it can.
    std::string refusalHere() const;
    // Why the recording is not of this program; empty when it is.
    std::string refusalFor(const std::string& programName, unsigned int screenWidth, unsigned int screenHeight) const;
};

} // namespace lum
