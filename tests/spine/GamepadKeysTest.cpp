// Gamepads as keys through the headless App: the stick's dead zone and
// hysteresis, and held directions repeating on the clock. (The buttons' keys
// and several pads at once are tested on each platform.)
#include "tests/spine/SpineSupport.h"

#include "framework/GamepadKeys.h"

#include <gtest/gtest.h>

namespace lum::test {
namespace {

class Gamepads : public ::testing::Test {
protected:
    Journal journal;
    Recorder listener{"", journal};
    GamepadKeys keys{platform()};

    void SetUp() override {
        platform().reset();
        platform().getKeyListeners().add(listener);
    }
    void TearDown() override { platform().reset(); }
    void stick(float x, float y) { keys.update(0, GamepadKeys::PadState{0, x, y}, 0); }
};

TEST_F(Gamepads, TheStickHasADeadZoneWithHysteresisAndKeepsItsDirectionOnADiagonal) {
    stick(0.45f, 0.0f); // inside the dead zone
    stick(0.6f, 0.0f);
    stick(0.4f, 0.1f); // past the leaving point still
    stick(0.3f, 0.0f);
    stick(0.8f, 0.0f);
    stick(0.7f, -0.7f); // a diagonal keeps Right
    stick(0.5f, -0.8f); // Up leans clearly further
    stick(0.7f, -0.7f); // and keeps the diagonal now
    stick(-0.9f, 0.0f); // flung across
    EXPECT_EQ(journal, (Journal{":142+", ":142-", ":142+", ":142-", ":141+", ":141-", ":140+"}));
}

TEST_F(Gamepads, HeldDirectionsRepeatOnTheClockAndNothingElseDoes) {
    keys.update(0, GamepadKeys::PadState{GamepadKeys::SOUTH | GamepadKeys::DPAD_RIGHT}, 0);
    keys.repeat(GamepadKeys::REPEAT_DELAY_NS - 1);
    keys.repeat(GamepadKeys::REPEAT_DELAY_NS);
    keys.repeat(2000 * MS); // late: one repeat, not the missed ones
    keys.repeat(2000 * MS + GamepadKeys::REPEAT_INTERVAL_NS - 1);
    keys.update(0, GamepadKeys::PadState{GamepadKeys::SOUTH}, 2010 * MS);
    keys.repeat(3000 * MS);
    EXPECT_EQ(journal, (Journal{":32+", ":142+", ":142+", ":142+", ":142-"}));
}

} // namespace
} // namespace lum::test
