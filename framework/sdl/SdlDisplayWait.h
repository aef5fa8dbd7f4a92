// Waiting on the window system's connection under an SDL window (X11) with a
// deadline to the nanosecond, in one sleep. SDL's own wait counts whole
// milliseconds, and poll's timeout may run on by a thousandth of itself (the
// kernel's allowance for gathering wake-ups); a timer descriptor beside the
// connection expires when it is told to.
#pragma once

#include <SDL_video.h>

#include <cstdint>
#include <memory>

namespace lum {

class SdlDisplayWait {
public:
    // For the window's X11 connection; null under other window systems, or
    // where SDL was built without X11, Xlib's queue cannot be asked or no
    // timer descriptor can be made.
    static std::unique_ptr<SdlDisplayWait> forWindow(SDL_Window* window);
    // For any descriptor that becomes readable with input (tests use a pipe).
    static std::unique_ptr<SdlDisplayWait> forDescriptor(int descriptor);
    ~SdlDisplayWait();
    SdlDisplayWait(const SdlDisplayWait&) = delete;
    SdlDisplayWait& operator=(const SdlDisplayWait&) = delete;

    // Sleeps until the descriptor has something to read, `nanoseconds` have
    // passed or a signal arrives; true when there is something to read. Input
    // the window system's library has read off the connection already ends
    // the wait before it starts.
    bool waitForInput(std::int64_t nanoseconds);

private:
    struct XlibQueue;

    SdlDisplayWait(int descriptor, int timer);

    int descriptor;
    int timer;
    // Xlib's own event queue under X11; null for a bare descriptor.
    std::unique_ptr<XlibQueue> queue;
};

} // namespace lum
