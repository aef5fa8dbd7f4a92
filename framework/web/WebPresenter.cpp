// The canvas side of presenting; see the header.
#include "framework/web/WebPresenter.h"

#include "framework/graphics/RowCopy.h"
#include "framework/graphics/Screen.h"

#include <emscripten/emscripten.h>

#include <cstring>

namespace lum {

namespace {

// The canvas and its 2D context live on the page's side, with an ImageData
// that looks straight at the flipped copy in the program's memory: made once,
// and again only if the memory grows (its buffer is then replaced). The page
// may read Module.lumFrames and Module.lumFirstFrameAt (ms since the page
// began loading) to see the frames arrive.
EM_JS(void, lumOpenCanvas, (const char* selector, int width, int height), {
    var canvas = document.querySelector(UTF8ToString(selector));
    canvas.width = width;
    canvas.height = height;
    Module.lumCanvas = {context: canvas.getContext('2d', {alpha: false}), width: width, image: null, at: 0};
    Module.lumFrames = 0;
});

EM_JS(void, lumPutImage, (const void* pixels, int bytes), {
    var canvas = Module.lumCanvas;
    if (!canvas.image || canvas.image.data.buffer !== HEAPU8.buffer || canvas.at !== pixels) {
        canvas.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, bytes), canvas.width);
        canvas.at = pixels;
    }
    canvas.context.putImageData(canvas.image, 0, 0);
    if (Module.lumFrames++ === 0) Module.lumFirstFrameAt = performance.now();
});

} // namespace

WebPresenter::WebPresenter(const std::string& canvas, unsigned int width, unsigned int height)
    : flipped(static_cast<std::size_t>(width) * height * 4), width(width), height(height) {
    lumOpenCanvas(canvas.c_str(), static_cast<int>(width), static_cast<int>(height));
}

void WebPresenter::present(const Screen& screen) {
    // A screen of another size than the canvas is never shown half.
    if (screen.getWidth() != width || screen.getHeight() != height) return;
    flip(screen.getPixels(), width, height, flipped.data());
    lumPutImage(flipped.data(), static_cast<int>(flipped.size()));
    ++frames;
}

void WebPresenter::flip(const Colour* bottom, unsigned int width, unsigned int height, unsigned char* top) {
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(width) * 4;
    RowCopy::copyImage(bottom, width, height, RowCopy::Destination{top, rowBytes, true, false, false}, nullptr);
    const std::size_t bytes = static_cast<std::size_t>(rowBytes) * height;
    for (std::size_t alpha = 3; alpha < bytes; alpha += 4) top[alpha] = 255;
}

} // namespace lum
