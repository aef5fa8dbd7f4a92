// Shows the screen image on the page's canvas. The screen is RGBA with the
// bottom row first; the canvas wants the top row first, so each frame is
// copied once, rows reversed and alpha made opaque (as a desktop window shows
// it), into a buffer made once, and uploaded with one putImageData of an
// ImageData over that buffer: nothing is allocated per frame.
#pragma once

#include <string>
#include <vector>

namespace lum {

class Colour;
class Screen;

class WebPresenter {
public:
    // Sizes the canvas (a CSS selector) to width × height pixels.
    WebPresenter(const std::string& canvas, unsigned int width, unsigned int height);

    void present(const Screen& screen);
    // Frames presented so far.
    unsigned long getFrames() const { return frames; }

    // The rows of an RGBA image, bottom row first, into `top` top row first,
    // every alpha set to 255. Both hold width × height × 4 bytes.
    static void flip(const Colour* bottom, unsigned int width, unsigned int height, unsigned char* top);

private:
    std::vector<unsigned char> flipped;
    unsigned int width;
    unsigned int height;
    unsigned long frames = 0;
};

} // namespace lum
