// Gamepads through the page's Gamepad API, which sends no event for a button
// or stick: the pads are read at most once a display frame (the browser
// renews their state no more often) into GamepadKeys. Pads of the "standard"
// layout give their buttons and left stick; others, whose buttons could be
// anything, their first two axes only.
#pragma once

#include "framework/GamepadKeys.h"

#include <cstdint>

namespace lum {

class AppImpl;

class WebGamepads {
public:
    static constexpr int MAX_PADS = 8;
    static constexpr std::int64_t READ_INTERVAL_NS = 16666667;

    explicit WebGamepads(AppImpl& app);

    // Reads the pads when a frame's time has passed since the last reading,
    // dispatching their keys, and the repeats due.
    void poll(std::int64_t now);
    // The clock reading by which the step must end for the next repeat.
    std::int64_t nextRepeat() const { return keys.nextRepeat(); }
    // Forgets the pads without dispatching (the program starts over).
    void clear();

private:
    void read(std::int64_t now);

    GamepadKeys keys;
    std::int64_t readAgainAt = 0;
    bool present[MAX_PADS] = {};
};

} // namespace lum
