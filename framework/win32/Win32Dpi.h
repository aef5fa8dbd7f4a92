// The DPI of a window on a system that scales each monitor on its own (the
// program declares itself aware of it in its manifest), through functions
// user32 has only had since Windows 10 1607: they are looked up at run time,
// and where they are missing (older systems, some Wine builds) every window
// counts as standard, 96 DPI.
#pragma once

namespace lum {

class Win32Dpi {
public:
    static constexpr unsigned int STANDARD = 96;

    // The window's DPI (an HWND); STANDARD without the function.
    static unsigned int ofWindow(void* window);
    // A length in the desktop's units as pixels at this DPI.
    static int toPixels(unsigned int length, unsigned int dpi);
    // The outer size of a window of these styles whose client area is
    // clientWidth × clientHeight pixels, its frame measured at this DPI.
    static void frameSize(int clientWidth, int clientHeight, unsigned long style, unsigned long extendedStyle,
                          unsigned int dpi, int& width, int& height);
};

} // namespace lum
