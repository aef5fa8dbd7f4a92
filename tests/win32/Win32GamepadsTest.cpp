// XInput pads as keys: readings from a fake source become key events as pads
// come and go, the empty slots looked at once a second; and XInput itself,
// loaded at run time, gives nothing when no pad is attached.
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

class Win32GamepadsTest : public ::testing::Test, public lum::IKeyEvent {
protected:
    Keys keys;

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
};

TEST_F(Win32GamepadsTest, ReadingsBecomeKeysAndEmptySlotsAreLookedAtOnceASecond) {
    Win32Gamepads::Reading pads[Win32Gamepads::SLOTS] = {};
    bool plugged[Win32Gamepads::SLOTS] = {false, true, false, false};
    int reads = 0;
    Win32Gamepads gamepads(app(), [&](unsigned int slot, Win32Gamepads::Reading& reading) {
        ++reads;
        reading = pads[slot];
        return plugged[slot];
    });
    pads[1] = {XINPUT_GAMEPAD_A, 0, 30000}; // the stick up
    gamepads.poll(0);
    pads[1] = {XINPUT_GAMEPAD_START, 0, 0};
    pads[2] = {XINPUT_GAMEPAD_BACK | XINPUT_GAMEPAD_Y | XINPUT_GAMEPAD_DPAD_LEFT, 0, 0};
    plugged[2] = true;
    gamepads.poll(400000000); // 400 ms: slot 2 not looked at yet
    gamepads.poll(Win32Gamepads::LOOK_INTERVAL_NS);
    plugged[2] = false;
    gamepads.poll(Win32Gamepads::LOOK_INTERVAL_NS + 1);
    EXPECT_EQ(keys, (Keys{"32+", "141+", "32-", "141-", "9+", "128+", "27+", "140+", "128-", "27-", "140-"}));
    EXPECT_EQ(reads, 4 + 1 + 4 + 2);
}

TEST_F(Win32GamepadsTest, XInputWithNoPadGivesNoKeys) {
    Win32Gamepads gamepads(app());
    for (std::int64_t second = 0; second < 3; ++second) gamepads.poll(second * Win32Gamepads::LOOK_INTERVAL_NS);
    EXPECT_EQ(keys, Keys{});
}

} // namespace
