// Gamepads on XInput, which sends no messages: the pads are read once a step
// into GamepadKeys. XInput is loaded when first needed (xinput1_4.dll, else
// xinput9_1_0.dll, both part of Windows), so the program imports no DLL that
// some Windows lacks; without either it runs without pads. Reading a slot
// with no pad in it is slow on some systems, so the empty slots are looked at
// only every LOOK_INTERVAL_NS, while pads found are read every step.
#pragma once

#include "framework/GamepadKeys.h"

#include <cstdint>
#include <functional>

namespace lum {

class AppImpl;

class Win32Gamepads {
public:
    static constexpr unsigned int SLOTS = 4;
    static constexpr std::int64_t LOOK_INTERVAL_NS = 1000000000;

    // One pad's state as XInput gives it (XINPUT_GAMEPAD's fields).
    struct Reading {
        unsigned short buttons = 0; // XINPUT_GAMEPAD_* bits
        short thumbLX = 0;
        short thumbLY = 0; // upwards positive
    };
    // Reads slot 0..SLOTS-1; false when no pad is there.
    using Source = std::function<bool(unsigned int slot, Reading& reading)>;

    // Reads through XInput.
    explicit Win32Gamepads(AppImpl& app);
    // Reads through `source` instead (tests).
    Win32Gamepads(AppImpl& app, Source source);

    // Reads the pads at clock reading `now`, dispatching their keys and the
    // repeats due.
    void poll(std::int64_t now);
    // The clock reading by which the step must end for the next repeat.
    std::int64_t nextRepeat() const { return keys.nextRepeat(); }

    static GamepadKeys::PadState toPadState(const Reading& reading);

private:
    // XInputGetState from the first XInput DLL found; an empty source without one.
    static Source loadXInput();

    GamepadKeys keys;
    Source source;
    bool loaded = false;
    bool connected[SLOTS] = {false, false, false, false};
    std::int64_t lookAgainAt = 0;
};

} // namespace lum
