// Polling and bounded waiting for SDL events.
#include "framework/sdl/SdlEventPump.h"

#include "framework/sdl/SdlDisplayWait.h"

#include <chrono>
#include <climits>
#include <thread>

namespace lum {

namespace {

constexpr std::int64_t nanosecondsPerMillisecond = 1000000;

// deadline − now, 0 when it passed; saturated instead of overflowing when the
// deadline is "never" (INT64_MAX).
std::int64_t remainingNs(std::int64_t now, std::int64_t deadline) {
    if (deadline <= now) return 0;
    if (now < 0 && deadline > INT64_MAX + now) return INT64_MAX;
    return deadline - now;
}

int wholeMilliseconds(std::int64_t nanoseconds) {
    const std::int64_t milliseconds = nanoseconds / nanosecondsPerMillisecond;
    return milliseconds > INT_MAX ? INT_MAX : static_cast<int>(milliseconds);
}

} // namespace

bool SdlEventPump::next(SDL_Event& event, std::int64_t now, std::int64_t deadline, SdlDisplayWait* display) {
    if (SDL_PollEvent(&event) != 0) return true;
    const std::int64_t remaining = remainingNs(now, deadline);
    if (remaining <= pollMarginNs) return false;
    // No overflow: the deadline lies more than the margin after `now`.
    const std::int64_t wakeAt = deadline - pollMarginNs;
    // "No event" need not mean that SDL took in everything: a poll that ends
    // SDL's previous round does not pump, and input read off the connection
    // since (by a present's round trip) waits in Xlib's queue, not readable on
    // the connection; the display's wait looks there first. (Events another
    // thread pushes into SDL's queue wait for the next wake-up, a frame at most.)
    if (display != nullptr) return display->waitForInput(wakeAt - now) && SDL_PollEvent(&event) != 0;
    // SDL waits in whole milliseconds, counted from a millisecond tick, and so
    // can overrun by most of one: it is given all but the last, which is slept
    // here to the nanosecond. An event arriving in that last stretch is picked
    // up right after it, under two milliseconds late.
    const int wait = waitMilliseconds(now, wakeAt) - 1;
    if (wait > 0) return SDL_WaitEventTimeout(&event, wait) != 0;
    std::this_thread::sleep_for(std::chrono::nanoseconds(wakeAt - now));
    return SDL_PollEvent(&event) != 0;
}

int SdlEventPump::waitMilliseconds(std::int64_t now, std::int64_t deadline) {
    return wholeMilliseconds(remainingNs(now, deadline));
}

} // namespace lum
