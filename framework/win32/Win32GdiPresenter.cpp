// The screen's pixels go to GDI as they are: a bottom-up DIB has the same row
// order (bottom row first), and the colour masks name the screen's byte order
// (red, green, blue, alpha), so no copy is made.
#include "framework/win32/Win32GdiPresenter.h"

#include "framework/graphics/Screen.h"

#include <windows.h>

#include <cstring>

namespace lum {

namespace {

struct MaskedBitmapInfo {
    BITMAPINFOHEADER header;
    DWORD masks[3]; // red, green, blue
};

} // namespace

bool Win32GdiPresenter::rasterisesOnTheProcessor(const char* glRenderer) {
    if (glRenderer == nullptr) return false;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "GDI Generic"}) {
        if (std::strstr(glRenderer, software) != nullptr) return true;
    }
    return false;
}

void Win32GdiPresenter::present(void* deviceContext, const Screen& screen) {
    const LONG width = static_cast<LONG>(screen.getWidth());
    const LONG height = static_cast<LONG>(screen.getHeight());
    MaskedBitmapInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height; // positive: bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0x000000FF;
    info.masks[1] = 0x0000FF00;
    info.masks[2] = 0x00FF0000;
    SetDIBitsToDevice(static_cast<HDC>(deviceContext), 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0,
                      0, 0, static_cast<UINT>(height), screen.getPixels(), reinterpret_cast<const BITMAPINFO*>(&info),
                      DIB_RGB_COLORS);
}

} // namespace lum
