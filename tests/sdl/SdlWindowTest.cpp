// The desktop platform with SDL's display-less video driver: the window it
// opens, presenting without allocating and the frame trace, the input one step
// makes of each event, gamepads on SDL's virtual joysticks, and full screen
// when opening again after a reset. The end-to-end tests see the visible parts
// in a real window system.
#include "framework/sdl/SdlAppImpl.h"

#include "framework/graphics/Screen.h"
#include "framework/sdl/SdlEventDispatcher.h" // SDL_Event

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// Every C++ allocation of the test program is counted, so a test can tell that
// presenting frames allocates nothing.
static long allocations = 0;
void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

using Result = lum::AppImpl::MessageResult;

// Events as SDL queues them, with the fields the platform reads.
SDL_Event key(Uint32 type, SDL_Keycode code, Uint16 modifiers) {
    SDL_Event event{};
    event.key = {type, 0, 0, 0, 0, 0, 0, {SDL_SCANCODE_UNKNOWN, code, modifiers, 0}};
    return event;
}
SDL_Event mouse(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event event{};
    if (type == SDL_MOUSEMOTION) event.motion = {type, 0, 0, 0, 0, x, y, 0, 0};
    else event.button = {type, 0, 0, 0, button, 0, 0, 0, x, y};
    return event;
}

// The fixture listens to the platform's input and writes it down.
class SdlWindowTest : public ::testing::Test, public lum::IKeyEvent, public lum::IMouseEvent {
protected:
    static constexpr int WIDTH = 64;
    static constexpr int HEIGHT = 48;

    lum::SdlAppImpl platform;
    std::vector<std::string> input;

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1); // the same on every machine, with or without a display
        unsetenv("LUM_FRAME_TRACE");
    }
    void TearDown() override { platform.reset(); }
    void open() {
        platform.initialise(WIDTH, HEIGHT, "Window Test", "tester", 60);
        platform.getKeyListeners().add(*this);
        platform.getMouseListeners().add(*this);
    }

    bool onKey(const lum::KeyEvent& e) override { return note("key " + std::to_string(e.key) + sign(e.state)); }
    bool onMouseMove(const lum::MouseEvent& e) override { return note("move " + at(e)); }
    bool onMouseButton(const lum::MouseEvent& e) override {
        return note("button " + std::to_string(e.button) + sign(e.state) + " " + at(e));
    }
    bool note(const std::string& what) { return input.push_back(what), true; }
    static std::string at(const lum::MouseEvent& e) { return std::to_string(e.x) + "," + std::to_string(e.y); }
    static std::string sign(unsigned int state) { return state == lum::PRESSED ? "+" : "-"; }
};

// A resizable window with the pointer shown (the end-to-end tests check the
// title, size and scaling in a real window system, and the display's block in
// the log); after a reset it opens again, in full screen when asked or saying
// why not.
TEST_F(SdlWindowTest, OpensAResizableWindowAndAgainAfterAResetInFullScreenOrSaysWhyNot) {
    setenv("LUM_FRAME_TRACE", "/nonexistent-folder/trace.txt", 1); // a measuring aid never stops the program
    open();
    const Uint32 flags = SDL_GetWindowFlags(platform.getWindow());
    EXPECT_EQ(flags & (SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_FULLSCREEN),
              Uint32{SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI});
    EXPECT_TRUE(platform.isCursorShown());

    platform.reset();
    EXPECT_EQ(platform.getWindow(), nullptr);
    platform.setFullScreen(true);
    testing::internal::CaptureStderr();
    open();
    const std::string errors = testing::internal::GetCapturedStderr();
    const bool granted = (SDL_GetWindowFlags(platform.getWindow()) & SDL_WINDOW_FULLSCREEN) != 0;
    EXPECT_EQ(platform.isFullScreen(), granted);
    EXPECT_EQ(errors, granted ? "" : "Unable to switch to full screen\n");
    EXPECT_FALSE(platform.isCursorShown()); // either way, as a full-screen game owns the pointer
}

// (The presenter's copy is turned the right way up in its own test and in a real window.)
TEST_F(SdlWindowTest, PresentsFramesWithoutAllocatingAndTracesThem) {
    setenv("LUM_FRAME_TRACE", "trace.txt", 1); // in the test's own folder
    open();
    lum::Screen& screen = *platform.getScreen();
    screen.clear(lum::Colour(0, 0, 200, 255)); // every row to copy
    lum::ChangedRows rows;
    screen.takeChangedRows(rows);
    const long before = allocations;
    for (int frame = 0; frame < 3; ++frame) platform.present(screen, rows);
    EXPECT_EQ(allocations, before);

    platform.reset(); // closes the trace
    // A line a frame: the clock after presenting, then four phase times.
    std::ifstream trace("trace.txt");
    std::vector<long long> stamps;
    for (std::string line; std::getline(trace, line);) {
        std::istringstream fields(line);
        long long stamp = 0, waiting = -1, update = -1, render = -1, present = -1;
        fields >> stamp >> waiting >> update >> render >> present;
        EXPECT_TRUE(fields && waiting >= 0 && update >= 0 && render >= 0 && present >= 0) << line;
        stamps.push_back(stamp);
    }
    ASSERT_EQ(stamps.size(), 3u);
    EXPECT_TRUE(std::is_sorted(stamps.begin(), stamps.end()));
}

// The deadline of handleMessage(0) has passed, yet queued events are still
// handed out, one per step; an empty queue ends the loop at once.
TEST_F(SdlWindowTest, EachStepMakesInputOfOneQueuedEvent) {
    open();
    while (platform.handleMessage(0) != Result::None) {} // the window's own start-up events
    SDL_Event close{SDL_WINDOWEVENT};
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_Event events[] = {key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT), key(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT),
                          key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT), // full screen: no key
                          key(SDL_KEYUP, SDLK_UP, KMOD_NONE), mouse(SDL_MOUSEMOTION, 0, 10, 8),
                          mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 0, HEIGHT - 1),
                          mouse(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, WIDTH - 1, 0),
                          mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 1), {SDL_MOUSEWHEEL}, close,
                          {SDL_QUIT}};
    for (SDL_Event& queued : events) SDL_PushEvent(&queued);
    for (Result result; (result = platform.handleMessage(0)) != Result::None;)
        input.push_back(result == Result::Quit ? "quit" : "|");
    // Mouse rows count upwards from the bottom; side buttons and the wheel give no input.
    EXPECT_EQ(input, (std::vector<std::string>{"key 0+", "|", "key 65+", "|", "|", "key 141-", "|", "move 10,40", "|",
                                               "button 1+ 0,1", "|", "button 3- 63,48", "|", "|", "|", "quit",
                                               "quit"}));
}

// SDL passes a pad's presses only to a window with the keyboard's focus, which
// the display-less window never has. The test's own hold on the joysticks lets
// it plug pads in before the window opens; they end with it.
class SdlGamepadTest : public SdlWindowTest {
protected:
    void SetUp() override {
        SdlWindowTest::SetUp();
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    }
    void TearDown() override {
        SdlWindowTest::TearDown();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    // Handles everything SDL has queued; returns the input that gave.
    std::vector<std::string> pump() {
        while (platform.handleMessage(0) != Result::None) {}
        return std::exchange(input, {});
    }
    // A pad of SDL's own layout, opened here too so the test can set its state.
    static SDL_Joystick* attach() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        return SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
    }
};

TEST_F(SdlGamepadTest, PadsPluggedInBeforeAndAfterTheWindowOpensGiveKeysUntilUnplugged) {
    SDL_Joystick* early = attach(); // device 0
    open();
    pump();
    SDL_JoystickSetVirtualButton(early, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(early, SDL_CONTROLLER_BUTTON_BACK, 1);
    SDL_JoystickSetVirtualAxis(early, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    EXPECT_EQ(pump(), (std::vector<std::string>{"key 32+", "key 27+", "key 140+"}));

    SDL_Joystick* late = attach();
    pump();
    SDL_JoystickSetVirtualButton(late, SDL_CONTROLLER_BUTTON_Y, 1);
    SDL_JoystickSetVirtualButton(late, SDL_CONTROLLER_BUTTON_START, 1);
    SDL_JoystickSetVirtualButton(late, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1); // Left is down already
    EXPECT_EQ(pump(), (std::vector<std::string>{"key 128+", "key 9+"}));
    SDL_JoystickDetachVirtual(0);
    EXPECT_EQ(pump(), (std::vector<std::string>{"key 32-", "key 27-"})); // Left stays, held by the other pad
    SDL_JoystickSetVirtualButton(late, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
    EXPECT_EQ(pump(), (std::vector<std::string>{"key 140-"}));
}

// The step is given far longer to wait than the held direction's next
// repeat, which ends the wait on its own time.
TEST_F(SdlGamepadTest, AHeldDirectionRepeatsWhileTheStepWaits) {
    SDL_Joystick* pad = attach();
    open();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
    EXPECT_EQ(pump(), (std::vector<std::string>{"key 143+"}));
    const std::int64_t start = platform.readClock();
    const std::int64_t far = start + 5000000000LL;
    while (input.empty() && platform.readClock() < far) platform.handleMessage(far);
    EXPECT_EQ(input, (std::vector<std::string>{"key 143+"}));
    EXPECT_LT(platform.readClock() - start, 2 * lum::GamepadKeys::REPEAT_DELAY_NS);
}

} // namespace
