// Takes the next SDL event, waiting for one only until a deadline. The frame
// loop tells how long it may sleep (the next frame or timer due); waiting in
// SDL instead of polling keeps the process off the processor between frames.
#pragma once

#include <SDL_events.h>

#include <cstdint>

namespace lum {

class SdlDisplayWait;

class SdlEventPump {
public:
    // The last stretch before a deadline is polled rather than slept: waking
    // from a sleep can come late, and every frame that comes late is a frame
    // later for good. With the thread's timer slack at its least (see
    // SdlAppImpl), a wake-up still comes 50 to 150 microseconds after its time
    // on a virtual machine; each poll costs a round of system calls, so the
    // stretch is kept about that long.
    static constexpr std::int64_t pollMarginNs = 100000;

    // Fills `event` and returns true when one arrived before `deadline`;
    // `now` and `deadline` are readings of the platform clock in nanoseconds.
    // Without an event it returns no later than the deadline (give or take the
    // scheduler), and while more than pollMarginNs is left it returns only
    // after sleeping or taking in input the window system had read already,
    // so a caller that loops until the deadline does not spin.
    // With a wait on the window system's connection (X11) the sleep is one,
    // to the nanosecond, ended early by input; without (null), SDL's wait in
    // whole milliseconds and a sleep for the rest.
    static bool next(SDL_Event& event, std::int64_t now, std::int64_t deadline, SdlDisplayWait* display = nullptr);

    // Whole milliseconds from `now` to `deadline`, rounded down: 0 when less
    // than one is left or the deadline has passed, INT_MAX at most.
    static int waitMilliseconds(std::int64_t now, std::int64_t deadline);
};

} // namespace lum
