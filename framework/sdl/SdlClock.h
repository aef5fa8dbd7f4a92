// The monotonic high-resolution clock of the SDL platform, in nanoseconds
// counted in whole microseconds. It
// needs no initialised SDL subsystem, so the App can read it before any window
// exists.
#pragma once

#include <cstdint>

namespace lum {

class SdlClock {
public:
    // Throws std::runtime_error when the platform has no high-resolution counter.
    SdlClock();

    std::int64_t now() const;

    // counter / frequency seconds in nanoseconds. Whole seconds and the
    // remainder are converted apart, so a counter far from zero cannot
    // overflow the intermediate product.
    static std::int64_t toNanoseconds(std::uint64_t counter, std::uint64_t frequency);

private:
    std::uint64_t frequency;
};

} // namespace lum
