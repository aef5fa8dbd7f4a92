// Gamepad buttons and stick to key events; see the header.
#include "framework/GamepadKeys.h"

#include "framework/AppImpl.h"
#include "framework/IKeyEvent.h"

#include <algorithm>
#include <climits>

namespace lum {

namespace {

// The key of each Button bit, lowest bit first.
constexpr unsigned int KEYS[] = {KEY_SPACE, KEY_F1, KEY_ESCAPE, KEY_TAB, KEY_LEFT, KEY_UP, KEY_RIGHT, KEY_DOWN};
constexpr unsigned int BUTTON_COUNT = sizeof KEYS / sizeof KEYS[0];
constexpr unsigned int FIRST_DIRECTION = 4; // the bit of DPAD_LEFT
constexpr unsigned int DIRECTIONS = GamepadKeys::DPAD_LEFT | GamepadKeys::DPAD_UP | GamepadKeys::DPAD_RIGHT |
                                    GamepadKeys::DPAD_DOWN;

bool isDirection(unsigned int bit) { return bit >= FIRST_DIRECTION; }

} // namespace

GamepadKeys::GamepadKeys(AppImpl& app) : app(app) {}

void GamepadKeys::update(int pad, const PadState& state, std::int64_t now) {
    Pad& memory = pads[pad];
    memory.stick = stickDirection(memory.stick, state.stickX, state.stickY);
    memory.held = (state.buttons & (SOUTH | NORTH | BACK | START | DIRECTIONS)) | memory.stick;
    settle(now);
}

void GamepadKeys::remove(int pad, std::int64_t now) {
    if (pads.erase(pad) != 0) settle(now);
}

void GamepadKeys::clear() {
    pads.clear();
    down = 0;
}

// Releases first, so a stick swung from one direction to the next lets go of
// the old one before the new one is pressed, as fingers on arrow keys would.
void GamepadKeys::settle(std::int64_t now) {
    unsigned int held = 0;
    for (const auto& entry : pads) held |= entry.second.held;
    const unsigned int released = down & ~held;
    const unsigned int pressed = held & ~down;
    down = held;
    for (unsigned int bit = 0; bit < BUTTON_COUNT; ++bit) {
        if (released & (1u << bit)) dispatch(bit, false, false);
    }
    for (unsigned int bit = 0; bit < BUTTON_COUNT; ++bit) {
        if (!(pressed & (1u << bit))) continue;
        if (isDirection(bit)) repeatAt[bit - FIRST_DIRECTION] = now + REPEAT_DELAY_NS;
        dispatch(bit, true, false);
    }
}

// A repeat that came late (a long frame) is not made up: the next one counts
// from now.
void GamepadKeys::repeat(std::int64_t now) {
    for (unsigned int bit = FIRST_DIRECTION; bit < BUTTON_COUNT; ++bit) {
        std::int64_t& due = repeatAt[bit - FIRST_DIRECTION];
        if (!(down & (1u << bit)) || due > now) continue;
        due += REPEAT_INTERVAL_NS;
        if (due <= now) due = now + REPEAT_INTERVAL_NS;
        dispatch(bit, true, true);
    }
}

std::int64_t GamepadKeys::nextRepeat() const {
    std::int64_t next = INT64_MAX;
    for (unsigned int bit = FIRST_DIRECTION; bit < BUTTON_COUNT; ++bit) {
        if (down & (1u << bit)) next = std::min(next, repeatAt[bit - FIRST_DIRECTION]);
    }
    return next;
}

void GamepadKeys::dispatch(unsigned int bit, bool pressed, bool repeated) {
    app.dispatchKeyStroke(KEYS[bit], pressed ? PRESSED : RELEASED, false, repeated);
}

unsigned int GamepadKeys::stickDirection(unsigned int before, float x, float y) {
    // How far the stick leans toward each direction, in DPAD_* bit order.
    const float reach[4] = {-x, -y, x, y};
    for (unsigned int way = 0; way < 4; ++way) {
        if (before != (DPAD_LEFT << way)) continue;
        const float across = std::max(reach[(way + 1) % 4], reach[(way + 3) % 4]);
        const bool overtaken = across > ENTER && across > reach[way] * DOMINANCE;
        if (reach[way] >= LEAVE && !overtaken) return before;
    }
    const unsigned int best = static_cast<unsigned int>(std::max_element(reach, reach + 4) - reach);
    return reach[best] > ENTER ? (DPAD_LEFT << best) : 0;
}

float GamepadKeys::fromInt16(int value) { return std::clamp(static_cast<float>(value) / 32767.0f, -1.0f, 1.0f); }

} // namespace lum
