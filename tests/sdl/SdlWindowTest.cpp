// The desktop platform with SDL's display-less video driver: the window it
// opens, the picture it presents, the messages one step handles, the frame
// trace, and opening again after a reset. The end-to-end tests repeat the
// visible parts in a real window system.
#include "framework/sdl/SdlAppImpl.h"

#include "framework/graphics/Screen.h"
#include "framework/sdl/SdlEventPump.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using lum::Colour;
using lum::SdlAppImpl;
using Result = lum::AppImpl::MessageResult;

class Recorder : public lum::IKeyEvent, public lum::IMouseEvent {
public:
    std::vector<std::string> events;
    bool onKey(const lum::KeyEvent& event) override {
        events.push_back("key " + std::to_string(event.key) + (event.state == lum::PRESSED ? "+" : "-"));
        return true;
    }
    bool onMouseMove(const lum::MouseEvent& event) override {
        events.push_back("move " + std::to_string(event.x) + "," + std::to_string(event.y));
        return true;
    }
    bool onMouseButton(const lum::MouseEvent&) override { return true; }
};

class SdlWindowTest : public ::testing::Test {
protected:
    static constexpr unsigned int WIDTH = 64;
    static constexpr unsigned int HEIGHT = 48;

    SdlAppImpl platform;
    Recorder recorder;

    void SetUp() override {
        // The same on every machine, with or without a display.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        unsetenv("LUM_FRAME_TRACE");
    }
    void TearDown() override {
        platform.reset();
        unsetenv("LUM_FRAME_TRACE");
    }

    void open() {
        platform.initialise(WIDTH, HEIGHT, "Window Test", "tester", 60);
        platform.getKeyListeners().add(recorder);
        platform.getMouseListeners().add(recorder);
    }

    // Handles messages until the queue is empty; the deadline has passed, so
    // nothing waits.
    std::vector<Result> drain() {
        std::vector<Result> results;
        for (Result result; (result = platform.handleMessage(0)) != Result::None;) results.push_back(result);
        return results;
    }
};

TEST_F(SdlWindowTest, OpensAFixedWindowOfTheScreenSizeWithTheApplicationTitle) {
    open();
    SDL_Window* window = platform.getWindow();
    ASSERT_NE(window, nullptr);
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, static_cast<int>(WIDTH));
    EXPECT_EQ(height, static_cast<int>(HEIGHT));
    EXPECT_STREQ(SDL_GetWindowTitle(window), "LUM [ User ID: 'tester' ] :: Window Test.");
    EXPECT_EQ(SDL_GetWindowFlags(window) & (SDL_WINDOW_RESIZABLE | SDL_WINDOW_FULLSCREEN), 0u);
    EXPECT_TRUE(platform.isCursorShown());
}

TEST_F(SdlWindowTest, DescribesTheDisplayInTheStartUpBlockShape) {
    open();
    const std::string description = platform.describeDisplay();
    EXPECT_EQ(description.rfind("OpenGL info:\n   Vendor:   SDL video driver dummy\n   Renderer: ", 0), 0u)
        << description;
    EXPECT_NE(description.find("\n   Version:  SDL 2."), std::string::npos) << description;
    EXPECT_EQ(std::count(description.begin(), description.end(), '\n'), 3);
}

TEST_F(SdlWindowTest, PresentsTheScreenTheRightWayUp) {
    open();
    lum::Screen& screen = *platform.getScreen();
    const Colour blue(0, 0, 200, 255), red(200, 0, 0, 255), green(0, 200, 0, 255), white(255, 255, 255, 255);
    screen.clear(blue);
    for (unsigned int x = 0; x < WIDTH; ++x) screen.plot(x, HEIGHT - 1, red); // top row
    screen.plot(0, 0, green);                                                 // bottom-left
    screen.plot(WIDTH - 1, 0, white);                                         // bottom-right
    platform.present(screen);

    const std::vector<unsigned char> shown = platform.getPresenter()->readPixels();
    ASSERT_EQ(shown.size(), WIDTH * HEIGHT * 4u);
    auto pixel = [&](unsigned int column, unsigned int row) {
        const unsigned char* p = &shown[(row * WIDTH + column) * 4];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<int>{200, 0, 0}));
    EXPECT_EQ(pixel(WIDTH - 1, 0), (std::vector<int>{200, 0, 0}));
    EXPECT_EQ(pixel(5, 5), (std::vector<int>{0, 0, 200}));
    EXPECT_EQ(pixel(0, HEIGHT - 1), (std::vector<int>{0, 200, 0}));
    EXPECT_EQ(pixel(WIDTH - 1, HEIGHT - 1), (std::vector<int>{255, 255, 255}));
}

TEST_F(SdlWindowTest, OneStepHandlesOneEvent) {
    open();
    drain(); // the window's own start-up events
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_F1;
    SDL_PushEvent(&key);
    key.type = SDL_KEYUP;
    SDL_PushEvent(&key);
    EXPECT_EQ(platform.handleMessage(0), Result::Handled);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"key 128+"});
    EXPECT_EQ(platform.handleMessage(0), Result::Handled);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"key 128+", "key 128-"}));
}

TEST_F(SdlWindowTest, ThePumpHandsOutQueuedEventsEvenPastTheDeadline) {
    open();
    drain();
    SDL_Event event{};
    EXPECT_FALSE(lum::SdlEventPump::next(event, 1000, 1000)); // nothing queued, no time left: no wait
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    ASSERT_TRUE(lum::SdlEventPump::next(event, 2000, 1000));
    EXPECT_EQ(event.type, static_cast<Uint32>(SDL_QUIT));
}

TEST_F(SdlWindowTest, AnExitRequestPostsTheQuitMessage) {
    open();
    drain();
    platform.postQuit();
    EXPECT_EQ(drain(), std::vector<Result>{Result::Quit});
}

TEST_F(SdlWindowTest, PlacingTheMouseCountsRowsUpwards) {
    open();
    drain();
    platform.setMousePosition(10, 8); // the pointer's move comes back as an event
    drain();
    EXPECT_EQ(recorder.events, std::vector<std::string>{"move 10,8"});
}

TEST_F(SdlWindowTest, FullScreenIsEitherGrantedOrReportedAndTheCursorHides) {
    platform.setFullScreen(true);
    testing::internal::CaptureStderr();
    open();
    const std::string errors = testing::internal::GetCapturedStderr();
    const bool fullScreenWindow = (SDL_GetWindowFlags(platform.getWindow()) & SDL_WINDOW_FULLSCREEN) != 0;
    EXPECT_EQ(platform.isFullScreen(), fullScreenWindow);
    EXPECT_EQ(errors, fullScreenWindow ? "" : "Unable to switch to full screen\n");
    EXPECT_FALSE(platform.isCursorShown());
}

TEST_F(SdlWindowTest, TheFrameTraceRecordsEachPresentedFrame) {
    const std::string path = testing::TempDir() + "sdl_frame_trace.txt";
    std::remove(path.c_str());
    setenv("LUM_FRAME_TRACE", path.c_str(), 1);
    open();
    for (int frame = 0; frame < 3; ++frame) platform.present(*platform.getScreen());
    platform.reset(); // closes the trace

    std::ifstream trace(path);
    std::vector<long long> stamps;
    for (long long stamp; trace >> stamp;) stamps.push_back(stamp);
    ASSERT_EQ(stamps.size(), 3u);
    EXPECT_LE(stamps[0], stamps[1]);
    EXPECT_LE(stamps[1], stamps[2]);
    std::remove(path.c_str());
}

TEST_F(SdlWindowTest, NoTraceWithoutTheVariable) {
    EXPECT_EQ(lum::FrameTrace::fromEnvironment("LUM_FRAME_TRACE"), nullptr);
    setenv("LUM_FRAME_TRACE", "/nonexistent-folder/trace.txt", 1);
    EXPECT_EQ(lum::FrameTrace::fromEnvironment("LUM_FRAME_TRACE"), nullptr);
}

TEST_F(SdlWindowTest, AResetClosesTheWindowSoItCanOpenAgain) {
    open();
    platform.reset();
    EXPECT_EQ(platform.getWindow(), nullptr);
    open();
    EXPECT_NE(platform.getWindow(), nullptr);
    platform.present(*platform.getScreen());
}

} // namespace
