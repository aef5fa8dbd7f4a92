// XInput pads as keys; see the header.
#include "framework/win32/Win32Gamepads.h"

#include <windows.h>
#include <xinput.h>

#include <utility>

namespace lum {

namespace {

struct ButtonBit {
    unsigned short xinput;
    unsigned int bit;
};

constexpr ButtonBit BUTTONS[] = {
    {XINPUT_GAMEPAD_A, GamepadKeys::SOUTH},
    {XINPUT_GAMEPAD_Y, GamepadKeys::NORTH},
    {XINPUT_GAMEPAD_BACK, GamepadKeys::BACK},
    {XINPUT_GAMEPAD_START, GamepadKeys::START},
    {XINPUT_GAMEPAD_DPAD_LEFT, GamepadKeys::DPAD_LEFT},
    {XINPUT_GAMEPAD_DPAD_UP, GamepadKeys::DPAD_UP},
    {XINPUT_GAMEPAD_DPAD_RIGHT, GamepadKeys::DPAD_RIGHT},
    {XINPUT_GAMEPAD_DPAD_DOWN, GamepadKeys::DPAD_DOWN},
};

using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

// Only from the system's own folder: a DLL of the same name beside the
// program is never loaded in its place.
GetState findGetState() {
    for (const char* name : {"xinput1_4.dll", "xinput9_1_0.dll"}) {
        const HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module == nullptr) continue;
        const FARPROC address = GetProcAddress(module, "XInputGetState");
        if (address != nullptr) return reinterpret_cast<GetState>(reinterpret_cast<void (*)()>(address));
        FreeLibrary(module);
    }
    return nullptr;
}

} // namespace

Win32Gamepads::Win32Gamepads(AppImpl& app) : keys(app) {}

Win32Gamepads::Win32Gamepads(AppImpl& app, Source source) : keys(app), source(std::move(source)), loaded(true) {}

Win32Gamepads::Source Win32Gamepads::loadXInput() {
    const GetState getState = findGetState();
    if (getState == nullptr) return nullptr;
    return [getState](unsigned int slot, Reading& reading) {
        XINPUT_STATE state{};
        if (getState(slot, &state) != ERROR_SUCCESS) return false;
        reading.buttons = state.Gamepad.wButtons;
        reading.thumbLX = state.Gamepad.sThumbLX;
        reading.thumbLY = state.Gamepad.sThumbLY;
        return true;
    };
}

void Win32Gamepads::poll(std::int64_t now) {
    if (!loaded) {
        source = loadXInput();
        loaded = true;
    }
    if (!source) return;
    const bool look = now >= lookAgainAt;
    if (look) lookAgainAt = now + LOOK_INTERVAL_NS;
    for (unsigned int slot = 0; slot < SLOTS; ++slot) {
        if (!connected[slot] && !look) continue;
        Reading reading;
        const bool present = source(slot, reading);
        if (present) keys.update(static_cast<int>(slot), toPadState(reading), now);
        else if (connected[slot]) keys.remove(static_cast<int>(slot), now);
        connected[slot] = present;
    }
    keys.repeat(now);
}

GamepadKeys::PadState Win32Gamepads::toPadState(const Reading& reading) {
    GamepadKeys::PadState state;
    for (const ButtonBit& entry : BUTTONS) {
        if (reading.buttons & entry.xinput) state.buttons |= entry.bit;
    }
    state.stickX = GamepadKeys::fromInt16(reading.thumbLX);
    state.stickY = -GamepadKeys::fromInt16(reading.thumbLY);
    return state;
}

} // namespace lum
