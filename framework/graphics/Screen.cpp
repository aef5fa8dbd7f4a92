// The screen: an opaque black image that refuses to change its dimensions, and
// whose pixel block is handed to the platform as RGBA bytes without conversion.
#include "framework/graphics/Screen.h"

#include "framework/graphics/ImageImpl.h"

namespace lum {

Screen::Screen(unsigned int width, unsigned int height)
    : Image(new ImageImpl(nullptr, width, height, Colour::BLACK, false)) {}

Screen::~Screen() = default;

unsigned char* Screen::getPixelData() {
    return reinterpret_cast<unsigned char*>(getPixels());
}

const unsigned char* Screen::getPixelData() const {
    return reinterpret_cast<const unsigned char*>(getPixels());
}

void Screen::takeChangedRows(ChangedRows& into) {
    impl->takeChangedRows(into);
}

} // namespace lum
