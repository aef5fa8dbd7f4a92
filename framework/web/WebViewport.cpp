// The canvas's place in the page; see the header.
#include "framework/web/WebViewport.h"

#include "framework/PictureFit.h"

#include <emscripten/emscripten.h>

#include <cmath>

namespace lum {

namespace {

EM_JS(void, lumViewportOpen, (const char* selector), {
    var canvas = document.querySelector(UTF8ToString(selector));
    Module.lumToggleFullScreen = function() {
        if (document.fullscreenElement) return document.exitFullscreen();
        return canvas.requestFullscreen().catch(function() { err('Unable to switch to full screen'); });
    };
});

EM_JS(double, lumViewportWidth, (), { return document.documentElement.clientWidth; });
EM_JS(double, lumViewportHeight, (), { return document.documentElement.clientHeight; });

EM_JS(void, lumPlaceCanvas, (const char* selector, double left, double top, double width, double height, int sharp), {
    var style = document.querySelector(UTF8ToString(selector)).style;
    style.position = 'fixed';
    style.left = left + 'px';
    style.top = top + 'px';
    style.width = width + 'px';
    style.height = height + 'px';
    style.imageRendering = sharp ? 'pixelated' : 'auto';
});

EM_JS(void, lumToggleFullScreen, (), {
    if (Module.lumToggleFullScreen) Module.lumToggleFullScreen();
});

} // namespace

void WebViewport::open(const std::string& canvas) { lumViewportOpen(canvas.c_str()); }

// Whole device pixels within the viewport, so that the picture never spills
// over its edge at a ratio such as 1.5.
void WebViewport::measure(int& width, int& height) {
    const double ratio = pixelRatio();
    width = static_cast<int>(std::floor(lumViewportWidth() * ratio));
    height = static_cast<int>(std::floor(lumViewportHeight() * ratio));
}

int WebViewport::toDevice(long css) { return static_cast<int>(std::floor(static_cast<double>(css) * pixelRatio())); }

double WebViewport::pixelRatio() { return emscripten_get_device_pixel_ratio(); }

void WebViewport::place(const std::string& canvas, const PictureFit& fit) {
    const double ratio = pixelRatio();
    lumPlaceCanvas(canvas.c_str(), fit.getX() / ratio, fit.getY() / ratio, fit.getWidth() / ratio,
                   fit.getHeight() / ratio, fit.wholeFactor() != 0 ? 1 : 0);
}

void WebViewport::toggleFullScreen() { lumToggleFullScreen(); }

} // namespace lum
