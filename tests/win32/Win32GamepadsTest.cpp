// XInput pads as keys: readings from a fake source become key events, pads
// come and go, empty slots are looked at only now and then; and XInput
// itself, loaded at run time, gives nothing when no pad is attached.
#include "framework/App.h"
#include "framework/AppImpl.h"
#include "framework/win32/Win32Gamepads.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <xinput.h>

#include <string>
#include <vector>

namespace {

using lum::Win32Gamepads;
using Keys = std::vector<std::string>;

constexpr std::int64_t MS = 1000000;

class Win32GamepadsTest : public ::testing::Test, public lum::IKeyEvent {
protected:
    Keys keys;
    Win32Gamepads::Reading pads[Win32Gamepads::SLOTS];
    bool plugged[Win32Gamepads::SLOTS] = {false, false, false, false};
    int reads = 0;

    static lum::AppImpl& app() { return lum::application.getImpl(); }
    void SetUp() override { app().getKeyListeners().add(*this); }
    void TearDown() override {
        app().getKeyListeners().remove(*this);
        app().getKeyListeners().purge();
    }
    bool onKey(const lum::KeyEvent& e) override {
        keys.push_back(std::to_string(e.key) + (e.state == lum::PRESSED ? "+" : "-"));
        return true;
    }
    Keys taken() {
        Keys all;
        all.swap(keys);
        return all;
    }
    Win32Gamepads::Source fake() {
        return [this](unsigned int slot, Win32Gamepads::Reading& reading) {
            ++reads;
            if (plugged[slot]) reading = pads[slot];
            return plugged[slot];
        };
    }
};

TEST_F(Win32GamepadsTest, ReadingsBecomeKeysAndEmptySlotsAreLookedAtOnceASecond) {
    Win32Gamepads gamepads(app(), fake());
    plugged[1] = true;
    pads[1] = {XINPUT_GAMEPAD_A, 0, 30000}; // the stick up
    gamepads.poll(0);
    EXPECT_EQ(taken(), (Keys{"32+", "141+"}));

    plugged[2] = true;
    pads[2] = {XINPUT_GAMEPAD_BACK | XINPUT_GAMEPAD_Y, 0, 0};
    pads[1] = {XINPUT_GAMEPAD_START | XINPUT_GAMEPAD_DPAD_LEFT, 0, -2000};
    gamepads.poll(600 * MS); // slot 2 not looked at yet; Left repeats only after 1100 ms
    EXPECT_EQ(taken(), (Keys{"32-", "141-", "9+", "140+"}));
    gamepads.poll(Win32Gamepads::LOOK_INTERVAL_NS);
    EXPECT_EQ(taken(), (Keys{"128+", "27+"}));

    plugged[1] = false;
    gamepads.poll(Win32Gamepads::LOOK_INTERVAL_NS + 10 * MS);
    EXPECT_EQ(taken(), (Keys{"9-", "140-"}));
    EXPECT_EQ(reads, 4 + 1 + 4 + 2);
}

TEST_F(Win32GamepadsTest, XInputWithNoPadGivesNoKeys) {
    Win32Gamepads gamepads(app());
    for (std::int64_t second = 0; second < 3; ++second) gamepads.poll(second * Win32Gamepads::LOOK_INTERVAL_NS);
    EXPECT_EQ(taken(), Keys{});
}

} // namespace
