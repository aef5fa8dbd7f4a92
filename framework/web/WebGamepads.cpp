// The page's gamepads as keys; see the header.
#include "framework/web/WebGamepads.h"

#include <emscripten/emscripten.h>

namespace lum {

namespace {

// Per pad, four ints: its index, the standard layout's buttons 0..15 held (bit
// n for button n), and axes 0 and 1 scaled to ±32767. Returns how many pads.
EM_JS(int, lumReadGamepads, (int* out, int maxPads), {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var count = 0;
    for (var i = 0; pads && i < pads.length && count < maxPads; ++i) {
        var pad = pads[i];
        if (!pad || !pad.connected || pad.index >= maxPads) continue;
        var held = 0;
        for (var b = 0; pad.mapping === 'standard' && b < 16 && b < pad.buttons.length; ++b) {
            if (pad.buttons[b].pressed) held |= 1 << b;
        }
        var at = (out >> 2) + count * 4;
        HEAP32[at] = pad.index;
        HEAP32[at + 1] = held;
        HEAP32[at + 2] = Math.round((pad.axes[0] || 0) * 32767);
        HEAP32[at + 3] = Math.round((pad.axes[1] || 0) * 32767);
        ++count;
    }
    return count;
});

struct ButtonBit {
    int button; // in the standard layout
    unsigned int bit;
};

constexpr ButtonBit BUTTONS[] = {
    {0, GamepadKeys::SOUTH},      {3, GamepadKeys::NORTH},     {8, GamepadKeys::BACK},
    {9, GamepadKeys::START},      {12, GamepadKeys::DPAD_UP},  {13, GamepadKeys::DPAD_DOWN},
    {14, GamepadKeys::DPAD_LEFT}, {15, GamepadKeys::DPAD_RIGHT},
};

} // namespace

WebGamepads::WebGamepads(AppImpl& app) : keys(app) {}

void WebGamepads::poll(std::int64_t now) {
    if (now >= readAgainAt) {
        readAgainAt = now + READ_INTERVAL_NS;
        read(now);
    }
    keys.repeat(now);
}

void WebGamepads::read(std::int64_t now) {
    int readings[MAX_PADS * 4];
    const int count = lumReadGamepads(readings, MAX_PADS);
    bool seen[MAX_PADS] = {};
    for (int pad = 0; pad < count; ++pad) {
        const int* reading = readings + pad * 4;
        const int index = reading[0];
        if (index < 0 || index >= MAX_PADS) continue;
        GamepadKeys::PadState state;
        for (const ButtonBit& entry : BUTTONS) {
            if (reading[1] & (1 << entry.button)) state.buttons |= entry.bit;
        }
        state.stickX = GamepadKeys::fromInt16(reading[2]);
        state.stickY = GamepadKeys::fromInt16(reading[3]);
        keys.update(index, state, now);
        seen[index] = true;
    }
    for (int index = 0; index < MAX_PADS; ++index) {
        if (present[index] && !seen[index]) keys.remove(index, now);
        present[index] = seen[index];
    }
}

void WebGamepads::clear() {
    keys.clear();
    readAgainAt = 0;
    for (bool& pad : present) pad = false;
}

} // namespace lum
