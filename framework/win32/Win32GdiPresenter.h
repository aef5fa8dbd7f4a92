// Copies the screen image to the window through GDI, for windows whose OpenGL
// is drawn by the processor (Mesa's llvmpipe under Wine, Windows' own "GDI
// Generic"): there the glDrawPixels path runs the picture through a software
// rasteriser before it reaches the window, at about twice the processor time.
//
// The picture goes to its place in the window (PictureFit): copied as it is
// at 1:1; stretched by nearest sampling at whole factors, so every pixel is an
// exact block; between whole factors first enlarged to the next whole
// factor and then averaged down to its size (HALFTONE): shrunk by less than
// half, an edge of text blends over one pixel at most, however GDI filters.
#pragma once

namespace lum {

class PictureFit;
class Screen;

class Win32GdiPresenter {
public:
    // Whether an OpenGL renderer of this name rasterises on the processor.
    static bool rasterisesOnTheProcessor(const char* glRenderer);

    Win32GdiPresenter() = default;
    ~Win32GdiPresenter();
    Win32GdiPresenter(const Win32GdiPresenter&) = delete;
    Win32GdiPresenter& operator=(const Win32GdiPresenter&) = delete;

    // The whole screen into its place in the device context (an HDC).
    void present(void* deviceContext, const Screen& screen, const PictureFit& fit);
    // The output around the picture painted black: needed once its place
    // changes or the window was uncovered, not every frame.
    static void clearBars(void* deviceContext, const PictureFit& fit);

private:
    void presentSmoothly(void* deviceContext, const Screen& screen, const PictureFit& fit);
    // The bitmap the picture is enlarged into, kept while its size holds;
    // false when it cannot be made.
    bool keepEnlarged(void* deviceContext, int width, int height);
    void release();

    void* memoryContext = nullptr; // HDC
    void* enlarged = nullptr;      // HBITMAP selected into memoryContext
    void* replaced = nullptr;      // the bitmap it replaced there
    int enlargedWidth = 0;
    int enlargedHeight = 0;
};

} // namespace lum
