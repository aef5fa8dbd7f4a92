// SDL game controllers as keys; see the header.
#include "framework/sdl/SdlGamepads.h"

#include "framework/Log.h"

#include <SDL.h>

#include <string>

namespace lum {

namespace {

struct ButtonBit {
    SDL_GameControllerButton button;
    unsigned int bit;
};

constexpr ButtonBit BUTTONS[] = {
    {SDL_CONTROLLER_BUTTON_A, GamepadKeys::SOUTH},
    {SDL_CONTROLLER_BUTTON_Y, GamepadKeys::NORTH},
    {SDL_CONTROLLER_BUTTON_BACK, GamepadKeys::BACK},
    {SDL_CONTROLLER_BUTTON_START, GamepadKeys::START},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, GamepadKeys::DPAD_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, GamepadKeys::DPAD_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, GamepadKeys::DPAD_RIGHT},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, GamepadKeys::DPAD_DOWN},
};

} // namespace

SdlGamepads::SdlGamepads(AppImpl& app) : keys(app) {}

SdlGamepads::~SdlGamepads() { stop(); }

void SdlGamepads::start() {
    if (started) return;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        log.warning(std::string("Gamepads are not available: ") + SDL_GetError());
        return;
    }
    started = true;
}

void SdlGamepads::stop() {
    for (const auto& entry : controllers) SDL_GameControllerClose(entry.second);
    controllers.clear();
    keys.clear();
    if (started) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started = false;
}

bool SdlGamepads::handle(const SDL_Event& event, std::int64_t now) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        open(event.cdevice.which, now);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        close(event.cdevice.which, now);
        return true;
    case SDL_CONTROLLERDEVICEREMAPPED:
        read(event.cdevice.which, now);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        read(event.cbutton.which, now);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        read(event.caxis.which, now);
        return true;
    default:
        return false;
    }
}

// SDL announces a pad plugged in by its device index, which names it only
// until the next pad comes or goes; from then on it is known by its instance
// id. A pad announced twice (at start-up) is opened once.
void SdlGamepads::open(int deviceIndex, std::int64_t now) {
    if (!started) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) {
        log.warning(std::string("A gamepad could not be opened: ") + SDL_GetError());
        return;
    }
    const SDL_JoystickID pad = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (!controllers.emplace(pad, controller).second) {
        SDL_GameControllerClose(controller);
        return;
    }
    read(pad, now);
}

void SdlGamepads::close(SDL_JoystickID pad, std::int64_t now) {
    const auto found = controllers.find(pad);
    if (found == controllers.end()) return;
    SDL_GameControllerClose(found->second);
    controllers.erase(found);
    keys.remove(pad, now);
}

void SdlGamepads::read(SDL_JoystickID pad, std::int64_t now) {
    const auto found = controllers.find(pad);
    if (found == controllers.end()) return;
    SDL_GameController* controller = found->second;
    GamepadKeys::PadState state;
    for (const ButtonBit& entry : BUTTONS) {
        if (SDL_GameControllerGetButton(controller, entry.button) != 0) state.buttons |= entry.bit;
    }
    state.stickX = GamepadKeys::fromInt16(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
    state.stickY = GamepadKeys::fromInt16(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
    keys.update(pad, state, now);
}

} // namespace lum
