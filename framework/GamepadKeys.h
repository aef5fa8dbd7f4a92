// Gamepads as the keys every program already reads: the D-pad and the left
// stick give the arrow keys, South (A, Cross) Space, Start Tab, Back (Select)
// Escape and North (Y, Triangle) F1. A platform reads each pad's buttons and
// stick its own way and hands them in as a PadState; this class keeps which
// keys are down and dispatches presses and releases as a keyboard gives them,
// held directions repeating on the App's clock. A key is down while any pad
// holds it, so several pads steer together; a pad unplugged lets go of what
// only it held.
#pragma once

#include <cstdint>
#include <map>

namespace lum {

class AppImpl;

class GamepadKeys {
public:
    // Bits of PadState::buttons.
    enum Button : unsigned int {
        SOUTH = 1u << 0,
        NORTH = 1u << 1,
        BACK = 1u << 2,
        START = 1u << 3,
        DPAD_LEFT = 1u << 4,
        DPAD_UP = 1u << 5,
        DPAD_RIGHT = 1u << 6,
        DPAD_DOWN = 1u << 7,
    };

    struct PadState {
        unsigned int buttons = 0; // Button bits held
        float stickX = 0.0f;      // the left stick, -1 (left) .. 1 (right)
        float stickY = 0.0f;      // -1 (up) .. 1 (down), as SDL and the browser report it
    };

    // The stick takes a direction past ENTER of its reach and keeps it until
    // it falls below LEAVE, so a stick resting near the edge of the dead zone
    // does not chatter. Leaning diagonally, it keeps the direction it has
    // unless the other axis leans DOMINANCE times as far.
    static constexpr float ENTER = 0.5f;
    static constexpr float LEAVE = 0.35f;
    static constexpr float DOMINANCE = 1.5f;
    // A held direction repeats as a held key does on a desktop's defaults.
    static constexpr std::int64_t REPEAT_DELAY_NS = 500000000;
    static constexpr std::int64_t REPEAT_INTERVAL_NS = 33000000;

    explicit GamepadKeys(AppImpl& app);

    // Pad `pad` (any id the platform keeps for it) reads `state` at clock
    // reading `now`: the keys this pressed or let go are dispatched.
    void update(int pad, const PadState& state, std::int64_t now);
    // The pad is gone: keys no other pad holds are released.
    void remove(int pad, std::int64_t now);
    // Held directions whose repeat is due are pressed again.
    void repeat(std::int64_t now);
    // The clock reading of the next repeat; INT64_MAX when nothing repeats.
    std::int64_t nextRepeat() const;
    // Forgets every pad without dispatching (the window is gone).
    void clear();

    // A stick or trigger axis of −32768..32767 as −1..1.
    static float fromInt16(int value);

private:
    struct Pad {
        unsigned int held = 0;  // Button bits, the stick's direction among them
        unsigned int stick = 0; // one DPAD_* bit or none
    };

    // The direction the stick gives at (x, y), given the one it gave before.
    static unsigned int stickDirection(unsigned int before, float x, float y);
    // Dispatches the difference between the keys down and those the pads hold.
    void settle(std::int64_t now);
    void dispatch(unsigned int button, bool pressed, bool repeated);

    AppImpl& app;
    std::map<int, Pad> pads;
    unsigned int down = 0;                   // Button bits whose keys are down
    std::int64_t repeatAt[4] = {0, 0, 0, 0}; // per direction, DPAD_LEFT first
};

} // namespace lum
