// Gamepads as keys, dispatched through the headless App to a listener: the
// buttons' keys, the stick's dead zone and hysteresis, repeats on the clock,
// and several pads holding keys together.
#include "tests/spine/SpineSupport.h"

#include "framework/GamepadKeys.h"

#include <gtest/gtest.h>

#include <climits>

namespace lum::test {
namespace {

using Pad = GamepadKeys::PadState;

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
    // The keys dispatched since the last call.
    Journal taken() {
        Journal keys;
        keys.swap(journal);
        return keys;
    }
    void stick(float x, float y) { keys.update(0, Pad{0, x, y}, 0); }
};

TEST_F(Gamepads, ButtonsAndTheDpadGiveTheirKeysAndLetGoOfThem) {
    keys.update(0, Pad{GamepadKeys::SOUTH | GamepadKeys::NORTH | GamepadKeys::BACK | GamepadKeys::START}, 0);
    keys.update(0, Pad{GamepadKeys::DPAD_DOWN | GamepadKeys::DPAD_LEFT}, 0);
    EXPECT_EQ(taken(), (Journal{":32+", ":128+", ":27+", ":9+", ":32-", ":128-", ":27-", ":9-", ":140+", ":143+"}));
    keys.update(0, Pad{GamepadKeys::DPAD_DOWN}, 0);
    keys.update(0, Pad{GamepadKeys::DPAD_DOWN}, 0); // nothing changed, nothing sent
    EXPECT_EQ(taken(), (Journal{":140-"}));
}

TEST_F(Gamepads, TheStickHasADeadZoneWithHysteresisAndKeepsItsDirectionOnADiagonal) {
    stick(0.45f, 0.0f); // inside the dead zone
    stick(0.6f, 0.0f);
    stick(0.4f, 0.1f); // past the leaving point still
    stick(0.3f, 0.0f);
    EXPECT_EQ(taken(), (Journal{":142+", ":142-"}));
    stick(0.8f, 0.0f);
    stick(0.7f, -0.7f); // a diagonal keeps Right
    stick(0.72f, -0.68f);
    stick(0.5f, -0.8f); // Up leans clearly further
    stick(0.7f, -0.7f); // and keeps the diagonal now
    stick(-0.9f, 0.0f); // flung across
    EXPECT_EQ(taken(), (Journal{":142+", ":142-", ":141+", ":141-", ":140+"}));
}

TEST_F(Gamepads, HeldDirectionsRepeatOnTheClockAndNothingElseDoes) {
    keys.update(0, Pad{GamepadKeys::SOUTH | GamepadKeys::DPAD_RIGHT}, 0);
    EXPECT_EQ(keys.nextRepeat(), GamepadKeys::REPEAT_DELAY_NS);
    keys.repeat(GamepadKeys::REPEAT_DELAY_NS - 1);
    keys.repeat(GamepadKeys::REPEAT_DELAY_NS);
    keys.repeat(GamepadKeys::REPEAT_DELAY_NS + GamepadKeys::REPEAT_INTERVAL_NS);
    keys.repeat(2000 * MS); // late: one repeat, not the missed ones
    EXPECT_EQ(taken(), (Journal{":32+", ":142+", ":142+", ":142+", ":142+"}));
    EXPECT_EQ(keys.nextRepeat(), 2000 * MS + GamepadKeys::REPEAT_INTERVAL_NS);
    keys.update(0, Pad{GamepadKeys::SOUTH}, 2010 * MS);
    keys.repeat(3000 * MS);
    EXPECT_EQ(taken(), (Journal{":142-"}));
    EXPECT_EQ(keys.nextRepeat(), INT64_MAX);
}

TEST_F(Gamepads, AKeyIsDownWhileAnyPadHoldsItAndAnUnpluggedPadLetsGo) {
    keys.update(1, Pad{GamepadKeys::DPAD_UP}, 0);
    keys.update(2, Pad{0, 0.0f, -1.0f}, 0); // the stick, Up too
    keys.update(3, Pad{GamepadKeys::START}, 0);
    keys.update(1, Pad{}, 0);
    EXPECT_EQ(taken(), (Journal{":141+", ":9+"}));
    keys.remove(2, 0);
    keys.remove(3, 0);
    keys.remove(3, 0); // gone already
    EXPECT_EQ(taken(), (Journal{":141-", ":9-"}));
}

} // namespace
} // namespace lum::test
