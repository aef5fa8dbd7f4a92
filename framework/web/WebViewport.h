// The page's viewport, where the screen is shown. The canvas keeps the
// screen's size in its own pixels; its box, in CSS pixels, is placed at the
// picture's fit in the viewport's device pixels, so that a whole factor lands
// on whole device pixels and is drawn with sharp edges (image-rendering:
// pixelated), while any other size is drawn smoothly: pixels of uneven widths
// would jitter as the snakes move. In full screen the canvas alone covers the
// monitor and the browser keeps its aspect with black bars, at the same place
// the fit gives.
#pragma once

#include <string>

namespace lum {

class PictureFit;

class WebViewport {
public:
    // Gives the page Module.lumToggleFullScreen() for a button of its own.
    static void open(const std::string& canvas);
    // The viewport's size in device pixels.
    static void measure(int& width, int& height);
    // A position in CSS pixels in device pixels.
    static int toDevice(long css);
    // Device pixels per CSS pixel: the browser's zoom, the monitor's density.
    static double pixelRatio();
    // The canvas's box at the fit, a fit in device pixels of the viewport.
    static void place(const std::string& canvas, const PictureFit& fit);
    // Between the page and the canvas shown over the whole monitor. Browsers
    // allow it only shortly after the player's key press or click.
    static void toggleFullScreen();
};

} // namespace lum
