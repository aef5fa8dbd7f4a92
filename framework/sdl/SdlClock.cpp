// The SDL platform's clock over SDL's performance counter.
#include "framework/sdl/SdlClock.h"

#include <SDL_timer.h>

#include <stdexcept>

namespace lum {

namespace {
constexpr std::uint64_t nanosecondsPerSecond = 1000000000u;
}

SdlClock::SdlClock() : frequency(SDL_GetPerformanceFrequency()) {
    if (frequency == 0) throw std::runtime_error("Unable to determine high performance frequency.");
}

// Whole microseconds: finer is below what the waits keep to, and a recording
// stores whole microseconds in fewer bytes.
std::int64_t SdlClock::now() const { return toNanoseconds(SDL_GetPerformanceCounter(), frequency) / 1000 * 1000; }

std::int64_t SdlClock::toNanoseconds(std::uint64_t counter, std::uint64_t frequency) {
    const std::uint64_t seconds = counter / frequency;
    const std::uint64_t remainder = counter % frequency;
    // remainder < frequency, so the product fits while the counter runs below
    // about 18 GHz; faster counters are scaled in floating point instead.
    const std::uint64_t fraction =
        frequency <= UINT64_MAX / nanosecondsPerSecond
            ? remainder * nanosecondsPerSecond / frequency
            : static_cast<std::uint64_t>(static_cast<long double>(remainder) * nanosecondsPerSecond / frequency);
    return static_cast<std::int64_t>(seconds * nanosecondsPerSecond + fraction);
}

} // namespace lum
