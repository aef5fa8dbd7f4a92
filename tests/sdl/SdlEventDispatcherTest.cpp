// SDL events as framework input: which events reach the listeners, with which
// codes, states and positions, and which end the loop.
#include "framework/sdl/SdlEventDispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lum::AppImpl;
using Result = AppImpl::MessageResult;

// An App with no platform behind it: only its dispatch and listeners are used.
class InputOnlyApp : public AppImpl {
public:
    InputOnlyApp() { height = 600; }
    void setMousePosition(int, int) override {}
    void showCursor(bool) override {}
    std::int64_t readClock() override { return 0; }
    void initialisePlatform() override {}
    void switchToFullScreen() override {}
    std::string describeDisplay() override { return {}; }
    MessageResult handleMessage(std::int64_t) override { return MessageResult::None; }
    void present(const lum::Screen&) override {}
    void postQuit() override {}
};

class Recorder : public lum::IKeyEvent, public lum::IMouseEvent {
public:
    std::vector<std::string> events;

    bool onKey(const lum::KeyEvent& event) override {
        events.push_back("key " + std::to_string(event.key) + state(event.state));
        return true;
    }
    bool onMouseMove(const lum::MouseEvent& event) override {
        events.push_back("move " + position(event));
        return true;
    }
    bool onMouseButton(const lum::MouseEvent& event) override {
        events.push_back("button " + std::to_string(event.button) + state(event.state) + " " + position(event));
        return true;
    }

private:
    static std::string state(unsigned int value) { return value == lum::PRESSED ? "+" : "-"; }
    static std::string position(const lum::MouseEvent& event) {
        return std::to_string(event.x) + "," + std::to_string(event.y);
    }
};

class SdlEventDispatcherTest : public ::testing::Test {
protected:
    InputOnlyApp app;
    Recorder recorder;

    void SetUp() override {
        app.getKeyListeners().add(recorder);
        app.getMouseListeners().add(recorder);
    }

    Result dispatch(const SDL_Event& event) { return lum::SdlEventDispatcher::dispatch(event, app); }

    Result key(Uint32 type, SDL_Keycode code, Uint16 modifiers, Uint8 repeat = 0) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = code;
        event.key.keysym.mod = modifiers;
        event.key.repeat = repeat;
        return dispatch(event);
    }

    Result button(Uint32 type, Uint8 which, int x, int y) {
        SDL_Event event{};
        event.type = type;
        event.button.button = which;
        event.button.x = x;
        event.button.y = y;
        return dispatch(event);
    }
};

TEST_F(SdlEventDispatcherTest, KeysArePressedRepeatedAndReleasedWithTheirModifiers) {
    EXPECT_EQ(key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT), Result::Handled);
    key(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT);
    key(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT, 1); // held: the window system repeats it
    key(SDL_KEYUP, SDLK_a, KMOD_LSHIFT);
    key(SDL_KEYUP, SDLK_LSHIFT, KMOD_NONE);
    key(SDL_KEYDOWN, SDLK_UP, KMOD_NONE);
    key(SDL_KEYUP, SDLK_UP, KMOD_NONE);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"key 0+", "key 65+", "key 65+", "key 65-", "key 0-", "key 141+", "key 141-"}));
}

TEST_F(SdlEventDispatcherTest, MouseRowsAreCountedUpwardsFromTheBottom) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 10;
    motion.motion.y = 20;
    EXPECT_EQ(dispatch(motion), Result::Handled);
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 0, 599); // bottom-left pixel
    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 0, 0);     // top-left pixel
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 5, 5);
    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 799, 300);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"move 10,580", "button 1+ 0,1", "button 1- 0,600",
                                                         "button 2+ 5,595", "button 3- 799,300"}));
}

TEST_F(SdlEventDispatcherTest, SideButtonsAndOtherEventsAreConsumedWithoutInput) {
    EXPECT_EQ(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 1), Result::Handled);
    SDL_Event other{};
    other.type = SDL_MOUSEWHEEL;
    EXPECT_EQ(dispatch(other), Result::Handled);
    other.type = SDL_WINDOWEVENT;
    other.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    EXPECT_EQ(dispatch(other), Result::Handled);
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(SdlEventDispatcherTest, QuitAndTheCloseButtonEndTheLoop) {
    SDL_Event event{};
    event.type = SDL_QUIT;
    EXPECT_EQ(dispatch(event), Result::Quit);
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    EXPECT_EQ(dispatch(event), Result::Quit);
    EXPECT_TRUE(recorder.events.empty());
}

} // namespace
