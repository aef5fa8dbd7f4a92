// The GDI presenter drawing into a memory bitmap of the window's size: the
// picture in its place the right way up, exact blocks at whole factors,
// bars black, and between whole factors each side's colour kept away from
// the edges between them.
#include "framework/PictureFit.h"
#include "framework/graphics/Screen.h"
#include "framework/win32/Win32GdiPresenter.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>

namespace {

using lum::PictureFit;

// A memory device context over a top-down 32-bit bitmap, filled white.
class Canvas {
public:
    Canvas(int width, int height) : width(width), dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        replaced = SelectObject(dc, bitmap);
        std::memset(bits, 0xFF, static_cast<size_t>(width) * height * 4);
    }
    ~Canvas() {
        SelectObject(dc, replaced);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF at(int x, int y) const {
        GdiFlush();
        const unsigned char* pixel = bits + (static_cast<size_t>(y) * width + x) * 4;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }
    const int width;
    const HDC dc;

private:
    HBITMAP bitmap = nullptr;
    HGDIOBJ replaced = nullptr;
    unsigned char* bits = nullptr;
};

COLORREF asColorRef(const lum::Colour& colour) { return RGB(colour.getRed(), colour.getGreen(), colour.getBlue()); }

// Presents a screen whose pixel at (column, top-counted row) is colourAt's
// into an output of that size, as a frame after a resize: bars, then picture.
// Checks every output pixel: black outside the picture, else what expected
// says (nothing where it gives false).
void presentAndCheck(int imageWidth, int imageHeight, int outputWidth, int outputHeight,
                     const std::function<lum::Colour(int, int)>& colourAt,
                     const std::function<bool(const PictureFit&, int, int, COLORREF&)>& expected) {
    lum::Screen screen(imageWidth, imageHeight);
    for (int row = 0; row < imageHeight; ++row) {
        for (int column = 0; column < imageWidth; ++column) {
            screen.plot(column, imageHeight - 1 - row, colourAt(column, row));
        }
    }
    const PictureFit fit(imageWidth, imageHeight, outputWidth, outputHeight, PictureFit::Scaling::Smooth);
    Canvas canvas(outputWidth, outputHeight);
    lum::Win32GdiPresenter presenter;
    lum::Win32GdiPresenter::clearBars(canvas.dc, fit);
    presenter.present(canvas.dc, screen, fit);
    for (int y = 0; y < outputHeight; ++y) {
        for (int x = 0; x < outputWidth; ++x) {
            const bool inPicture = x >= fit.getX() && x < fit.getX() + fit.getWidth() && y >= fit.getY() &&
                                   y < fit.getY() + fit.getHeight();
            COLORREF want = RGB(0, 0, 0);
            if (inPicture && !expected(fit, x, y, want)) continue;
            ASSERT_EQ(canvas.at(x, y), want) << x << "," << y << " in " << outputWidth << "x" << outputHeight;
        }
    }
}

TEST(Win32GdiPresenter, WholeFactorsAreExactBlocksInTheMiddleOfBlackBars) {
    // Every pixel of its own colour, so a block out of place shows.
    const auto distinct = [](int column, int row) {
        return lum::Colour(static_cast<std::uint8_t>(40 * column + 1), static_cast<std::uint8_t>(60 * row + 2), 200, 255);
    };
    // 1:1, 2×, 3× with bars at the sides, 1:1 with bars above and below.
    const int outputs[][2] = {{4, 3}, {8, 6}, {14, 9}, {4, 7}};
    for (const auto& output : outputs) {
        presentAndCheck(4, 3, output[0], output[1], distinct,
                        [&](const PictureFit& fit, int x, int y, COLORREF& want) {
                            const int factor = static_cast<int>(fit.wholeFactor());
                            want = asColorRef(distinct((x - fit.getX()) / factor, (y - fit.getY()) / factor));
                            return true;
                        });
    }
}

TEST(Win32GdiPresenter, BetweenWholeFactorsEachQuarterKeepsItsColourAwayFromItsEdges) {
    const lum::Colour quarters[2][2] = {{lum::Colour::RED, lum::Colour::GREEN}, {lum::Colour::BLUE, lum::Colour::WHITE}};
    const auto quarterAt = [&](int column, int row) { return quarters[row >= 3][column >= 4]; };
    // Which half an output span's footprint in the image lies in, a pixel
    // away from the middle (no filter reaches further); -1 near it.
    const auto half = [](int position, int start, int span, int imageSpan) {
        const double from = static_cast<double>(position - start) * imageSpan / span;
        const double to = static_cast<double>(position + 1 - start) * imageSpan / span;
        if (to <= imageSpan / 2.0 - 1) return 0;
        if (from >= imageSpan / 2.0 + 1) return 1;
        return -1;
    };
    // 1.5×, with bars above and below, 2.5× with bars at the sides, and
    // smaller than the image.
    const int outputs[][2] = {{12, 9}, {12, 13}, {24, 15}, {6, 4}};
    for (const auto& output : outputs) {
        presentAndCheck(8, 6, output[0], output[1], quarterAt, [&](const PictureFit& fit, int x, int y, COLORREF& want) {
            const int across = half(x, fit.getX(), fit.getWidth(), 8);
            const int down = half(y, fit.getY(), fit.getHeight(), 6);
            want = asColorRef(quarters[down < 0 ? 0 : down][across < 0 ? 0 : across]);
            return across >= 0 && down >= 0;
        });
    }
}

} // namespace
