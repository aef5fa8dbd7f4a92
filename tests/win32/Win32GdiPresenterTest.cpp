// The GDI presenter drawing into a memory bitmap of the window's size: the
// picture in its place the right way up, bars black, and every output pixel
// that lies wholly inside one image pixel of exactly its colour, at whole
// factors (all of them) and between them.
#include "framework/PictureFit.h"
#include "framework/graphics/Screen.h"
#include "framework/win32/Win32GdiPresenter.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

using lum::PictureFit;

// The image pixel an output pixel lies wholly inside along one side, or -1.
int inside(int position, int start, int span, int imageSpan) {
    const int relative = position - start;
    const int pixel = relative * imageSpan / span;
    return (relative + 1) * imageSpan <= (pixel + 1) * span ? pixel : -1;
}

TEST(Win32GdiPresenter, ThePictureInItsPlaceBetweenBlackBarsWithEachPixelsColour) {
    const int imageWidth = 4, imageHeight = 3;
    const auto colourAt = [](int column, int row) { return RGB(40 * column + 1, 60 * row + 2, 200); };
    lum::Screen screen(imageWidth, imageHeight);
    for (int row = 0; row < imageHeight; ++row) {
        for (int column = 0; column < imageWidth; ++column) {
            const COLORREF colour = colourAt(column, row);
            screen.plot(column, imageHeight - 1 - row,
                        lum::Colour(GetRValue(colour), GetGValue(colour), GetBValue(colour), 255));
        }
    }
    // 1:1, 2×, 3× with bars at the sides, 1:1 with bars above and below,
    // then between whole factors with bars below, and at the sides.
    const int outputs[][2] = {{4, 3}, {8, 6}, {14, 9}, {4, 7}, {6, 8}, {9, 5}};
    for (const auto& [width, height] : outputs) {
        const PictureFit fit(imageWidth, imageHeight, width, height, PictureFit::Scaling::Smooth);
        // Filled white, so what is not drawn shows.
        std::vector<DWORD> pixels(static_cast<size_t>(width) * height, 0xFFFFFF);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        const HDC dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ replaced = SelectObject(dc, bitmap);
        SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
        lum::Win32GdiPresenter::clearBars(dc, fit);
        lum::Win32GdiPresenter().present(dc, screen, fit);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int column = inside(x, fit.getX(), fit.getWidth(), imageWidth);
                const int row = inside(y, fit.getY(), fit.getHeight(), imageHeight);
                const bool inPicture = x >= fit.getX() && x < fit.getX() + fit.getWidth() && y >= fit.getY() &&
                                       y < fit.getY() + fit.getHeight();
                if (inPicture && (column < 0 || row < 0)) continue; // blended: any colour between
                EXPECT_EQ(GetPixel(dc, x, y), inPicture ? colourAt(column, row) : RGB(0, 0, 0))
                    << x << "," << y << " in " << width << "x" << height;
            }
        }
        SelectObject(dc, replaced);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
}

} // namespace
