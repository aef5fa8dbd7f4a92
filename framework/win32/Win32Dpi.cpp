// DPI functions of user32, found at run time; see the header.
#include "framework/win32/Win32Dpi.h"

#include <windows.h>

namespace lum {

namespace {

using DpiOfWindow = UINT(WINAPI*)(HWND);
using FrameForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// Linking them directly would keep the program from starting where they are missing.
template <typename Function>
Function user32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

} // namespace

unsigned int Win32Dpi::ofWindow(void* window) {
    static const auto dpiOfWindow = user32Function<DpiOfWindow>("GetDpiForWindow");
    const UINT dpi = dpiOfWindow != nullptr ? dpiOfWindow(static_cast<HWND>(window)) : 0;
    return dpi != 0 ? dpi : STANDARD;
}

int Win32Dpi::toPixels(unsigned int length, unsigned int dpi) {
    return MulDiv(static_cast<int>(length), static_cast<int>(dpi), static_cast<int>(STANDARD));
}

void Win32Dpi::frameSize(int clientWidth, int clientHeight, unsigned long style, unsigned long extendedStyle,
                         unsigned int dpi, int& width, int& height) {
    static const auto frameForDpi = user32Function<FrameForDpi>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, clientWidth, clientHeight};
    if (frameForDpi != nullptr) {
        frameForDpi(&frame, style, FALSE, extendedStyle, dpi);
    } else {
        AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    }
    width = frame.right - frame.left;
    height = frame.bottom - frame.top;
}

} // namespace lum
