// Copies the screen image to the window through GDI, for windows whose OpenGL
// is drawn by the processor (Mesa's llvmpipe under Wine, Windows' own "GDI
// Generic"): there the glDrawPixels path runs the picture through a software
// rasteriser before it reaches the window, at about twice the processor time.
#pragma once

namespace lum {

class Screen;

class Win32GdiPresenter {
public:
    // Whether an OpenGL renderer of this name rasterises on the processor.
    static bool rasterisesOnTheProcessor(const char* glRenderer);

    // One copy of the whole screen into the client area of the device context (an HDC).
    static void present(void* deviceContext, const Screen& screen);
};

} // namespace lum
