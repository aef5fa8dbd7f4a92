// A deliberately plain text drawer for checking the real one: every pixel is
// bounds-tested on its own and read and written through getPixel and plot, so
// it shares none of the clipping arithmetic it is compared with.
#pragma once

#include "framework/graphics/FontImpl.h"
#include "framework/graphics/Image.h"

#include <cstdint>
#include <string>

namespace font_test {

// One channel of the text blend: coverage k weighs the text by k / 255 and the
// pixel below by (255 - k) / 255 in single precision; sum in double, truncated.
std::uint8_t blendChannel(std::uint8_t text, std::uint8_t under, std::uint8_t coverage);

void referenceDrawText(const lum::FontImpl& font, lum::Image& target, int x, int y, const lum::Colour& colour,
                       const std::string& text);

// FNV-1a over the RGBA bytes, bottom row first.
std::uint64_t pixelHash(const lum::Image& image);

// A background where neighbouring pixels differ in every channel, so a
// misplaced or mis-weighted pixel cannot hide.
lum::Image patternedImage(unsigned int width, unsigned int height);

} // namespace font_test
