// Waiting on the window system's connection; see the header. The window
// system's headers define names (None, Status, Bool) that clash with ordinary
// code, so they are included here only.
#include "framework/sdl/SdlDisplayWait.h"

#include <SDL_syswm.h>
#include <dlfcn.h>
#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <ctime>

namespace lum {

namespace {
constexpr std::int64_t nanosecondsPerSecond = 1000000000;
} // namespace

#if defined(SDL_VIDEO_DRIVER_X11)
// Xlib reads from the connection whenever it waits for a reply (a present's
// round trip, for one) and keeps the events that came before the reply in a
// queue of its own, where SDL's pump finds them only when it next runs. The
// connection is then not readable, and a wait on it alone would sleep to its
// deadline with input waiting. The queue is asked through the library SDL
// loaded, held while the wait lives.
struct SdlDisplayWait::XlibQueue {
    using EventsQueued = int (*)(Display*, int);

    Display* display;
    void* library;
    EventsQueued eventsQueued;

    static std::unique_ptr<XlibQueue> of(Display* display) {
        void* library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        void* symbol = dlsym(library != nullptr ? library : RTLD_DEFAULT, "XEventsQueued");
        if (symbol != nullptr)
            return std::unique_ptr<XlibQueue>(new XlibQueue{display, library, reinterpret_cast<EventsQueued>(symbol)});
        if (library != nullptr) dlclose(library);
        return nullptr;
    }
    ~XlibQueue() {
        if (library != nullptr) dlclose(library);
    }
    // Also takes in what the library had read but not yet queued.
    bool holdsInput() const { return eventsQueued(display, QueuedAfterReading) > 0; }
};

std::unique_ptr<SdlDisplayWait> SdlDisplayWait::forWindow(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return nullptr;
    // Without Xlib's queue the wait could miss input: SDL's own wait then.
    auto queue = XlibQueue::of(info.info.x11.display);
    if (queue == nullptr) return nullptr;
    auto wait = forDescriptor(ConnectionNumber(info.info.x11.display));
    if (wait != nullptr) wait->queue = std::move(queue);
    return wait;
}
#else
struct SdlDisplayWait::XlibQueue {
    bool holdsInput() const { return false; }
};

std::unique_ptr<SdlDisplayWait> SdlDisplayWait::forWindow(SDL_Window*) { return nullptr; }
#endif

std::unique_ptr<SdlDisplayWait> SdlDisplayWait::forDescriptor(int descriptor) {
    const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    if (timer < 0) return nullptr;
    return std::unique_ptr<SdlDisplayWait>(new SdlDisplayWait(descriptor, timer));
}

SdlDisplayWait::SdlDisplayWait(int descriptor, int timer) : descriptor(descriptor), timer(timer) {}

SdlDisplayWait::~SdlDisplayWait() { close(timer); }

bool SdlDisplayWait::waitForInput(std::int64_t nanoseconds) {
    if (queue != nullptr && queue->holdsInput()) return true;
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
