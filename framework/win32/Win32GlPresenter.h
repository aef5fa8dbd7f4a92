// Copies the screen image to the window through OpenGL 1.1: one glDrawPixels
// into the back buffer, cleared to black first, then the buffers swapped.
// Scaled pictures are drawn with the pixel zoom, which samples the nearest
// pixel: whole factors are exact blocks.
#pragma once

namespace lum {

class PictureFit;
class Screen;

class Win32GlPresenter {
public:
    // Where the next frames go, for the context current on this thread: the
    // viewport is the picture's rectangle and the raster position its lower
    // left corner. Called whenever the fit changes.
    static void place(const PictureFit& fit);
    // One frame to the window's device context (an HDC).
    static void present(void* deviceContext, const Screen& screen);
};

} // namespace lum
