// Full screen without a display mode change: the window loses its frame and
// covers the whole monitor it is on; switched back, it gets its frame, size,
// place and maximised state back as they were.
#pragma once

#include <memory>

namespace lum {

class Win32BorderlessFullScreen {
public:
    Win32BorderlessFullScreen();
    ~Win32BorderlessFullScreen();

    bool isOn() const { return former != nullptr; }
    // Between the two for this window (an HWND).
    void toggle(void* window);

private:
    struct Former;
    void enter(void* window);
    void leave(void* window);

    // The framed window's style and placement, kept while full screen.
    std::unique_ptr<Former> former;
};

} // namespace lum
