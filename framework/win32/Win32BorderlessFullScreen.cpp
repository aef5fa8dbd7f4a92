// Borderless full screen; see the header.
#include "framework/win32/Win32BorderlessFullScreen.h"

#include <windows.h>

namespace lum {

struct Win32BorderlessFullScreen::Former {
    LONG style = 0;
    WINDOWPLACEMENT placement{};
};

Win32BorderlessFullScreen::Win32BorderlessFullScreen() = default;

Win32BorderlessFullScreen::~Win32BorderlessFullScreen() = default;

void Win32BorderlessFullScreen::toggle(void* window) {
    if (isOn()) {
        leave(window);
    } else {
        enter(window);
    }
}

void Win32BorderlessFullScreen::enter(void* window) {
    const HWND handle = static_cast<HWND>(window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    auto saved = std::make_unique<Former>();
    saved->placement.length = sizeof saved->placement;
    if (!GetMonitorInfoA(MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST), &monitor) ||
        !GetWindowPlacement(handle, &saved->placement)) {
        return;
    }
    saved->style = GetWindowLongA(handle, GWL_STYLE);
    SetWindowLongA(handle, GWL_STYLE, (saved->style & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
    const RECT& area = monitor.rcMonitor;
    SetWindowPos(handle, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    former = std::move(saved);
}

// The style first, so the placement is measured with the frame.
void Win32BorderlessFullScreen::leave(void* window) {
    const HWND handle = static_cast<HWND>(window);
    SetWindowLongA(handle, GWL_STYLE, former->style);
    SetWindowPlacement(handle, &former->placement);
    SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    former.reset();
}

} // namespace lum
