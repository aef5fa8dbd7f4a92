// The image handle: owns its implementation and forwards every operation to it,
// returning itself so that calls can be chained.
#include "framework/graphics/Image.h"

#include "framework/graphics/Blitter.h"
#include "framework/graphics/ImageImpl.h"
#include "framework/graphics/ShapeDrawing.h"

#include <limits>
#include <utility>

namespace lum {

Image::Image() : impl(new ImageImpl(this, true)) {}

Image::Image(unsigned int width, unsigned int height, const Colour& fill)
    : impl(new ImageImpl(this, width, height, fill, true)) {}

Image::Image(const Image& other) : impl(new ImageImpl(this, *other.impl)) {}

Image::Image(ImageImpl* implementation) : impl(implementation) {
    impl->setOwner(this);
}

Image& Image::operator=(const Image& other) {
    impl->assign(*other.impl);
    return *this;
}

Image::~Image() {
    // Only the image the implementation names as its owner may free it.
    if (impl->getOwner() == this)
        delete impl;
}

unsigned int Image::getWidth() const {
    return impl->getWidth();
}

unsigned int Image::getHeight() const {
    return impl->getHeight();
}

unsigned int Image::getPixelCount() const {
    return impl->getPixelCount();
}

Colour Image::getPixel(unsigned int x, unsigned int y) const {
    return impl->getPixel(x, y);
}

Image& Image::plot(unsigned int x, unsigned int y, const Colour& colour) {
    impl->plot(x, y, colour);
    return *this;
}

Image& Image::clear(const Colour& colour) {
    impl->clear(colour);
    return *this;
}

Image& Image::resize(unsigned int width, unsigned int height) {
    impl->resize(width, height);
    return *this;
}

Image& Image::setAlpha(float opacity) {
    impl->setAlpha(opacity);
    return *this;
}

Image& Image::setTransparentColour(const Colour& colour) {
    impl->setTransparentColour(colour);
    return *this;
}

unsigned char Image::getOpacity() const {
    return impl->getOpacity();
}

const Colour* Image::getTransparentColour() const {
    return impl->getTransparentColour();
}

Colour* Image::getPixels() {
    return impl->handOutPixels();
}

const Colour* Image::getPixels() const {
    return impl->getPixels();
}

Image& Image::drawImage(const Image& source, int srcX1, int srcY1, int srcX2, int srcY2, int destX, int destY) {
    Blitter::drawImage(*impl, *source.impl, srcX1, srcY1, srcX2, srcY2, destX, destY);
    return *this;
}

Image& Image::drawImage(const Image& source) {
    Blitter::drawImage(*impl, *source.impl, 0, 0, source.getWidth(), source.getHeight(), 0, 0);
    return *this;
}

Image& Image::drawLine(int x1, int y1, int x2, int y2, const Colour& colour) {
    ShapeDrawing::drawLine(*impl, x1, y1, x2, y2, colour);
    return *this;
}

Image& Image::drawCircle(int centreX, int centreY, int radius, const Colour& colour) {
    ShapeDrawing::drawCircle(*impl, centreX, centreY, radius, colour);
    return *this;
}

Image& Image::copyRegion(Image& destination, const Colour& background, unsigned int x1, unsigned int y1,
                         unsigned int x2, unsigned int y2) const {
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    // Copying a region of an image into itself: resizing and clearing would
    // destroy the pixels to be copied, so they are taken from a copy first.
    if (&destination == this) {
        const Image source(*this);
        return source.copyRegion(destination, background, x1, y1, x2, y2);
    }
    destination.resize(x2 - x1, y2 - y1);
    destination.clear(background);
    Blitter::drawImage(*destination.impl, *impl, x1, y1, x2, y2, 0, 0);
    return destination;
}

unsigned int Image::checkedPixelCount(unsigned int width, unsigned int height) {
    const unsigned long long count = static_cast<unsigned long long>(width) * height;
    if (count > std::numeric_limits<unsigned int>::max())
        throw ImageImpl::invalidDimensions(width, height);
    return static_cast<unsigned int>(count);
}

} // namespace lum
