// Waiting on the window system's connection; see the header. The window
// system's headers define names (None, Status, Bool) that clash with ordinary
// code, so they are included here only.
#include "framework/sdl/SdlDisplayWait.h"

#include <SDL_syswm.h>
#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <ctime>

namespace lum {

namespace {
constexpr std::int64_t nanosecondsPerSecond = 1000000000;

int descriptorOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return -1;
#if defined(SDL_VIDEO_DRIVER_X11)
    return ConnectionNumber(info.info.x11.display);
#else
    return -1;
#endif
}
} // namespace

std::unique_ptr<SdlDisplayWait> SdlDisplayWait::forWindow(SDL_Window* window) {
    const int descriptor = descriptorOf(window);
    return descriptor >= 0 ? forDescriptor(descriptor) : nullptr;
}

std::unique_ptr<SdlDisplayWait> SdlDisplayWait::forDescriptor(int descriptor) {
    const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    if (timer < 0) return nullptr;
    return std::unique_ptr<SdlDisplayWait>(new SdlDisplayWait(descriptor, timer));
}

SdlDisplayWait::SdlDisplayWait(int descriptor, int timer) : descriptor(descriptor), timer(timer) {}

SdlDisplayWait::~SdlDisplayWait() { close(timer); }

bool SdlDisplayWait::waitForInput(std::int64_t nanoseconds) {
    if (nanoseconds <= 0) nanoseconds = 1; // a zero time would disarm the timer
    itimerspec expiry{};
    expiry.it_value.tv_sec = static_cast<time_t>(nanoseconds / nanosecondsPerSecond);
    expiry.it_value.tv_nsec = static_cast<long>(nanoseconds % nanosecondsPerSecond);
    // Setting the timer again also forgets an expiry that was never read.
    if (timerfd_settime(timer, 0, &expiry, nullptr) != 0) return false;
    pollfd watched[2] = {{descriptor, POLLIN, 0}, {timer, POLLIN, 0}};
    if (ppoll(watched, 2, nullptr, nullptr) <= 0) return false;
    return (watched[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

} // namespace lum
