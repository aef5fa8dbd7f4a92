// Gamepads on SDL's game controller API: every pad SDL knows a mapping for
// (its own database, SDL_GAMECONTROLLERCONFIG, SDL_GAMECONTROLLERCONFIG_FILE)
// is opened as it is plugged in, and its buttons and left stick are read
// into GamepadKeys whenever it reports a change. As with the keyboard, only
// the window with the keyboard's focus hears the pads' presses (SDL's
// SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS=1 lifts that). A machine where the
// subsystem cannot start plays on without pads.
#pragma once

#include "framework/GamepadKeys.h"

#include <SDL_events.h>
#include <SDL_gamecontroller.h>

#include <cstdint>
#include <map>

namespace lum {

class AppImpl;

class SdlGamepads {
public:
    explicit SdlGamepads(AppImpl& app);
    ~SdlGamepads();
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Starts SDL's game controller subsystem; the pads plugged in already
    // arrive as events.
    void start();
    // Closes the pads and stops the subsystem.
    void stop();
    // Takes a game controller event, reading the pad it concerns; false for
    // any other event.
    bool handle(const SDL_Event& event, std::int64_t now);
    // Presses held directions again when due (GamepadKeys::repeat).
    void repeat(std::int64_t now) { keys.repeat(now); }
    // The clock reading by which the step must end for the next repeat.
    std::int64_t nextRepeat() const { return keys.nextRepeat(); }

private:
    void open(int deviceIndex, std::int64_t now);
    void close(SDL_JoystickID pad, std::int64_t now);
    void read(SDL_JoystickID pad, std::int64_t now);

    GamepadKeys keys;
    std::map<SDL_JoystickID, SDL_GameController*> controllers;
    bool started = false;
};

} // namespace lum
