// The screen's pixels go to GDI as they are: a bottom-up DIB has the same row
// order (bottom row first), and the colour masks name the screen's byte order
// (red, green, blue, alpha), so no copy is made.
#include "framework/win32/Win32GdiPresenter.h"

#include "framework/PictureFit.h"
#include "framework/graphics/Screen.h"

#include <windows.h>

#include <cstring>

namespace lum {

namespace {

struct MaskedBitmapInfo {
    BITMAPINFOHEADER header;
    DWORD masks[3]; // red, green, blue
};

MaskedBitmapInfo describe(const Screen& screen) {
    MaskedBitmapInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = static_cast<LONG>(screen.getWidth());
    info.header.biHeight = static_cast<LONG>(screen.getHeight()); // positive: bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0x000000FF;
    info.masks[1] = 0x0000FF00;
    info.masks[2] = 0x00FF0000;
    return info;
}

const BITMAPINFO* asBitmapInfo(const MaskedBitmapInfo& info) { return reinterpret_cast<const BITMAPINFO*>(&info); }

// HALFTONE leaves the brush origin undefined; it is set again after it.
void setMode(HDC dc, int mode) {
    SetStretchBltMode(dc, mode);
    if (mode == HALFTONE) SetBrushOrgEx(dc, 0, 0, nullptr);
}

// The whole screen stretched to a rectangle of the device context.
void stretch(HDC dc, int mode, int x, int y, int width, int height, const Screen& screen) {
    const MaskedBitmapInfo info = describe(screen);
    setMode(dc, mode);
    StretchDIBits(dc, x, y, width, height, 0, 0, info.header.biWidth, info.header.biHeight, screen.getPixels(),
                  asBitmapInfo(info), DIB_RGB_COLORS, SRCCOPY);
}

} // namespace

bool Win32GdiPresenter::rasterisesOnTheProcessor(const char* glRenderer) {
    if (glRenderer == nullptr) return false;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "GDI Generic"}) {
        if (std::strstr(glRenderer, software) != nullptr) return true;
    }
    return false;
}

Win32GdiPresenter::~Win32GdiPresenter() { release(); }

void Win32GdiPresenter::present(void* deviceContext, const Screen& screen, const PictureFit& fit) {
    const HDC dc = static_cast<HDC>(deviceContext);
    const unsigned int factor = fit.wholeFactor();
    if (factor == 1) {
        const MaskedBitmapInfo info = describe(screen);
        SetDIBitsToDevice(dc, fit.getX(), fit.getY(), static_cast<DWORD>(info.header.biWidth),
                          static_cast<DWORD>(info.header.biHeight), 0, 0, 0, static_cast<UINT>(info.header.biHeight),
                          screen.getPixels(), asBitmapInfo(info), DIB_RGB_COLORS);
    } else if (factor > 1) {
        stretch(dc, COLORONCOLOR, fit.getX(), fit.getY(), fit.getWidth(), fit.getHeight(), screen);
    } else {
        presentSmoothly(deviceContext, screen, fit);
    }
}

void Win32GdiPresenter::presentSmoothly(void* deviceContext, const Screen& screen, const PictureFit& fit) {
    const HDC dc = static_cast<HDC>(deviceContext);
    const unsigned int sharp = fit.sharpFactor();
    const int width = static_cast<int>(sharp * screen.getWidth());
    const int height = static_cast<int>(sharp * screen.getHeight());
    // Smaller than the image: averaged down from it directly.
    if (sharp == 1 || !keepEnlarged(deviceContext, width, height)) {
        stretch(dc, HALFTONE, fit.getX(), fit.getY(), fit.getWidth(), fit.getHeight(), screen);
        return;
    }
    const HDC memory = static_cast<HDC>(memoryContext);
    stretch(memory, COLORONCOLOR, 0, 0, width, height, screen);
    setMode(dc, HALFTONE);
    StretchBlt(dc, fit.getX(), fit.getY(), fit.getWidth(), fit.getHeight(), memory, 0, 0, width, height, SRCCOPY);
}

bool Win32GdiPresenter::keepEnlarged(void* deviceContext, int width, int height) {
    if (enlarged != nullptr && width == enlargedWidth && height == enlargedHeight) return true;
    release();
    const HDC memory = CreateCompatibleDC(static_cast<HDC>(deviceContext));
    if (memory == nullptr) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        DeleteDC(memory);
        return false;
    }
    memoryContext = memory;
    enlarged = bitmap;
    replaced = SelectObject(memory, bitmap);
    enlargedWidth = width;
    enlargedHeight = height;
    return true;
}

void Win32GdiPresenter::release() {
    if (memoryContext != nullptr) {
        SelectObject(static_cast<HDC>(memoryContext), static_cast<HGDIOBJ>(replaced));
        DeleteDC(static_cast<HDC>(memoryContext));
    }
    if (enlarged != nullptr) DeleteObject(static_cast<HGDIOBJ>(enlarged));
    memoryContext = enlarged = replaced = nullptr;
    enlargedWidth = enlargedHeight = 0;
}

void Win32GdiPresenter::clearBars(void* deviceContext, const PictureFit& fit) {
    if (!fit.hasBars()) return;
    const HDC dc = static_cast<HDC>(deviceContext);
    const int left = fit.getX();
    const int top = fit.getY();
    const int right = left + fit.getWidth();
    const int bottom = top + fit.getHeight();
    const int outputWidth = fit.getOutputWidth();
    const int outputHeight = fit.getOutputHeight();
    const RECT bars[] = {{0, 0, left, outputHeight},
                         {right, 0, outputWidth, outputHeight},
                         {left, 0, right, top},
                         {left, bottom, right, outputHeight}};
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (const RECT& bar : bars) FillRect(dc, &bar, black);
}

} // namespace lum
