// The wait on the window system's connection: on a pipe standing in for it,
// it ends when its time is up, and at once when input is there; on a private X
// server, input already read off the connection ends it too.
#include "framework/sdl/SdlDisplayWait.h"
#include "framework/sdl/SdlEventPump.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TEST(SdlDisplayWait, EndsAtItsTimeOrAtOnceWithInput) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const auto wait = lum::SdlDisplayWait::forDescriptor(ends[0]);
    ASSERT_NE(wait, nullptr);

    // Nothing to read: it sleeps the whole time, again and again (the timer
    // that expired unread last time is forgotten), however short the time.
    constexpr std::int64_t ms = 1000000;
    for (const std::int64_t nanoseconds : {3 * ms, 1 * ms, 3 * ms, std::int64_t{1}}) {
        const Clock::time_point start = Clock::now();
        EXPECT_FALSE(wait->waitForInput(nanoseconds));
        EXPECT_GE(millisecondsSince(start), nanoseconds / 1e6);
        EXPECT_LT(millisecondsSince(start), 1000.0);
    }
    // Input there already: it returns long before its time.
    ASSERT_EQ(write(ends[1], "x", 1), 1);
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(wait->waitForInput(std::int64_t{20} * 1000000000));
    EXPECT_LT(millisecondsSince(start), 1000.0);

    close(ends[0]);
    close(ends[1]);
}

// A window on a private X server, whose pointer another client moves. The
// server, Xvfb under `timeout` on the first free display (which it names once
// it takes connections), ends when its last client leaves.
class SdlDisplayWaitOnX11 : public ::testing::Test {
protected:
    FILE* server = nullptr;
    SDL_Window* window = nullptr;
    SDL_SysWMinfo info{};
    Display* user = nullptr;

    void SetUp() override {
        server = popen("exec timeout 60 Xvfb -displayfd 1 -terminate -nolisten tcp 2>/dev/null", "r");
        char number[16] = "";
        ASSERT_TRUE(server != nullptr && std::fgets(number, sizeof number, server) != nullptr) << "Xvfb did not start";
        setenv("DISPLAY", (":" + std::to_string(std::atoi(number))).c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("wait", 0, 0, 64, 48, SDL_WINDOW_SHOWN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        SDL_VERSION(&info.version);
        ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info));
        user = XOpenDisplay(nullptr);
        ASSERT_NE(user, nullptr);
    }
    void TearDown() override {
        if (user != nullptr) XCloseDisplay(user);
        if (window != nullptr) SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        if (server != nullptr) pclose(server); // the server's end, its clients gone
    }

    // Returns once the server has sent the window's client what the move made.
    void movePointer(int x, int y) {
        XWarpPointer(user, None, info.info.x11.window, 0, 0, 0, 0, x, y);
        XSync(user, False);
    }
    // The round trip of a present (its XSync) reads the connection: the events
    // sent before the reply go into Xlib's queue.
    void present() { XSync(info.info.x11.display, False); }
};

// A step has just dispatched an event, so SDL's next poll ends its round
// without pumping; the frame's present then reads a pointer move off the
// connection. The wait finds it in Xlib's queue instead of sleeping to a
// deadline two seconds away.
TEST_F(SdlDisplayWaitOnX11, InputAPresentReadOffTheConnectionEndsTheWaitAtOnce) {
    const auto wait = lum::SdlDisplayWait::forWindow(window);
    ASSERT_NE(wait, nullptr);
    movePointer(5, 5); // the pointer enters the window
    present();
    SDL_Event event{};
    while (SDL_PollEvent(&event) != 0) {}
    SDL_Event dispatched{SDL_USEREVENT};
    SDL_PushEvent(&dispatched);
    const auto nanoseconds = [] { return std::chrono::nanoseconds(Clock::now().time_since_epoch()).count(); };
    do {
        ASSERT_TRUE(lum::SdlEventPump::next(event, nanoseconds(), nanoseconds() + 2000000000, wait.get()));
    } while (event.type != SDL_USEREVENT);

    movePointer(20, 30);
    present();
    const Clock::time_point start = Clock::now();
    bool moved = false;
    while (!moved && millisecondsSince(start) < 5000) {
        const std::int64_t now = nanoseconds();
        moved = lum::SdlEventPump::next(event, now, now + 2000000000, wait.get()) && event.type == SDL_MOUSEMOTION;
    }
    EXPECT_LT(millisecondsSince(start), 500.0);
    ASSERT_TRUE(moved);
    EXPECT_EQ(event.motion.x, 20);
    EXPECT_EQ(event.motion.y, 30);
}

} // namespace
