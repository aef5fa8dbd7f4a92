// Gamepads on the desktop platform, driven through SDL's virtual joysticks:
// pads plugged in before and after the window opens, their buttons and stick
// as keys, a pad unplugged, a mapping given in SDL_GAMECONTROLLERCONFIG, and
// a held direction waking the step for its repeats.
#include "framework/sdl/SdlAppImpl.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Result = lum::AppImpl::MessageResult;
using Keys = std::vector<std::string>;

class SdlGamepadsTest : public ::testing::Test, public lum::IKeyEvent {
protected:
    lum::SdlAppImpl platform;
    Keys keys;
    std::vector<int> attached; // instance ids of the virtual pads

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        // SDL passes a pad's presses only to a window with the keyboard's
        // focus, which the display-less window never has.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        // The test's own hold on the joysticks, so pads can be attached before the window opens.
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    }
    void TearDown() override {
        for (int pad : attached) detach(pad);
        platform.reset();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        unsetenv("SDL_GAMECONTROLLERCONFIG");
        unsetenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS");
    }
    void open() {
        platform.initialise(64, 48, "Gamepad Test", "tester", 60);
        platform.getKeyListeners().add(*this);
    }
    bool onKey(const lum::KeyEvent& e) override {
        keys.push_back(std::to_string(e.key) + (e.state == lum::PRESSED ? "+" : "-"));
        return true;
    }
    // Handles everything SDL has queued; returns the keys it gave.
    Keys pump() {
        while (platform.handleMessage(0) != Result::None) {}
        Keys taken;
        taken.swap(keys);
        return taken;
    }

    // A pad with every button and axis of SDL's layout; returns its instance id.
    int attach(const char* name) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = name;
        desc.vendor_id = 0x1209; // a maker's id, without which SDL applies no mapping but its own
        desc.product_id = 0x0001;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        // Opened here too, so the test can set its state; SDL counts the opens.
        const int pad = SDL_JoystickInstanceID(SDL_JoystickOpen(index));
        attached.push_back(pad);
        return pad;
    }
    void detach(int pad) {
        SDL_Joystick* joystick = SDL_JoystickFromInstanceID(pad);
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) == pad) SDL_JoystickDetachVirtual(index);
        }
        SDL_JoystickClose(joystick);
        attached.erase(std::remove(attached.begin(), attached.end(), pad), attached.end());
    }
    static void press(int pad, SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(pad), button, down ? 1 : 0);
    }
    static void lean(int pad, Sint16 x, Sint16 y) {
        SDL_JoystickSetVirtualAxis(SDL_JoystickFromInstanceID(pad), SDL_CONTROLLER_AXIS_LEFTX, x);
        SDL_JoystickSetVirtualAxis(SDL_JoystickFromInstanceID(pad), SDL_CONTROLLER_AXIS_LEFTY, y);
    }
};

TEST_F(SdlGamepadsTest, PadsPluggedInBeforeAndAfterTheWindowOpensGiveKeysUntilUnplugged) {
    const int early = attach("Early pad");
    open();
    pump();
    press(early, SDL_CONTROLLER_BUTTON_A, true);
    lean(early, -30000, 2000); // left, a little down
    EXPECT_EQ(pump(), (Keys{"32+", "140+"}));

    const int late = attach("Late pad");
    pump();
    press(late, SDL_CONTROLLER_BUTTON_START, true);
    press(late, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true); // Left is down already
    EXPECT_EQ(pump(), (Keys{"9+"}));
    press(early, SDL_CONTROLLER_BUTTON_BACK, true);
    press(early, SDL_CONTROLLER_BUTTON_Y, true);
    EXPECT_EQ(pump(), (Keys{"128+", "27+"}));

    detach(early);
    EXPECT_EQ(pump(), (Keys{"32-", "128-", "27-"})); // Left stays, held by the other pad's D-pad
    press(late, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_EQ(pump(), (Keys{"140-"}));
}

// The environment's mapping puts South on the pad's fourth button. SDL reads
// it as its joysticks start, so the pad is attached once to learn its GUID.
TEST_F(SdlGamepadsTest, AMappingFromTheEnvironmentIsHonoured) {
    char guid[33];
    const int first = attach("Remapped pad");
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(SDL_JoystickFromInstanceID(first)), guid, sizeof guid);
    detach(first);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    setenv("SDL_GAMECONTROLLERCONFIG", (std::string(guid) + ",Remapped pad,a:b3,leftx:a0,lefty:a1,").c_str(), 1);
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    const int pad = attach("Remapped pad");
    open();
    pump();
    press(pad, SDL_CONTROLLER_BUTTON_A, true); // button 0, mapped to nothing
    press(pad, SDL_CONTROLLER_BUTTON_Y, true); // button 3
    EXPECT_EQ(pump(), (Keys{"32+"}));
}

// The step waits for the next frame at most, but a held direction's repeats
// come on their own time: each wait ends by the next one.
TEST_F(SdlGamepadsTest, AHeldDirectionRepeatsWhileTheStepWaits) {
    const int pad = attach("Held pad");
    open();
    pump();
    press(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    EXPECT_EQ(pump(), (Keys{"143+"}));
    const std::int64_t start = platform.readClock();
    const std::int64_t far = start + 5000000000LL;
    while (keys.size() < 3 && platform.readClock() < far) platform.handleMessage(far);
    const std::int64_t spent = platform.readClock() - start;
    EXPECT_EQ(keys, (Keys{"143+", "143+", "143+"}));
    EXPECT_GE(spent, lum::GamepadKeys::REPEAT_DELAY_NS + lum::GamepadKeys::REPEAT_INTERVAL_NS);
    EXPECT_LT(spent, 2000000000LL);
}

} // namespace
