// Storage and pixel-level operations of an image, and the single-pixel
// primitives (lines, circles) that go through the virtual plot.
#include "framework/graphics/ImageImpl.h"

#include "framework/Log.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/RowDrawing.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace lum {

namespace {

// Opaque black is the fallback colour: outside an image and in fresh blocks.
constexpr Colour FALLBACK(0, 0, 0, 255);

} // namespace

// An image without pixels is opaque: it has no alpha that says otherwise.
ImageImpl::ImageImpl(Image* owner, bool resizable) : owner(owner), resizable(resizable), classKnown(true) {}

ImageImpl::ImageImpl(Image* owner, unsigned int width, unsigned int height, const Colour& fill,
                     bool resizable)
    : width(width), height(height), pixelCount(Image::checkedPixelCount(width, height)),
      pixels(pixelCount, fill), owner(owner), resizable(resizable), alphaClass(classOf(fill.getAlpha())),
      classKnown(true) {}

ImageImpl::ImageImpl(Image* owner, const ImageImpl& other)
    : width(other.width), height(other.height), pixelCount(other.pixelCount), opacity(other.opacity),
      transparentColour(other.transparentColour ? std::make_unique<Colour>(*other.transparentColour)
                                                : nullptr),
      pixels(other.pixels), owner(owner), resizable(true), alphaClass(other.alphaClass),
      classKnown(other.classKnown), keyFound(other.keyFound), keyKnown(other.keyKnown) {}

ImageImpl::~ImageImpl() = default;

void ImageImpl::clear(const Colour& colour) {
    if (pixels.empty())
        return;
    setAlphaClass(classOf(colour.getAlpha()));
    keyFound = isTransparent(colour);
    keyKnown = true;
    RowDrawing::fill(pixels.data(), pixels.size(), colour);
}

void ImageImpl::plot(unsigned int x, unsigned int y, const Colour& colour) {
    if (x >= width || y >= height)
        return;
    pixels[static_cast<std::size_t>(y) * width + x] = colour;
    // The classes widen in their order: opaque, binary, mixed.
    alphaClass = std::max(alphaClass, classOf(colour.getAlpha()));
    keyFound = keyFound || isTransparent(colour);
}

Colour ImageImpl::getPixel(unsigned int x, unsigned int y) const {
    if (x >= width || y >= height)
        return FALLBACK;
    return pixels[static_cast<std::size_t>(y) * width + x];
}

void ImageImpl::assign(const ImageImpl& other) {
    if (&other == this)
        return;
    // The screen keeps its size: only a copy of equal dimensions is taken.
    if (!resizable && (other.width != width || other.height != height)) {
        logFixedDimensions();
        return;
    }
    pixels = other.pixels;
    width = other.width;
    height = other.height;
    pixelCount = other.pixelCount;
    opacity = other.opacity;
    transparentColour = other.transparentColour ? std::make_unique<Colour>(*other.transparentColour) : nullptr;
    alphaClass = other.alphaClass;
    classKnown = other.classKnown;
    keyFound = other.keyFound;
    keyKnown = other.keyKnown;
}

void ImageImpl::resize(unsigned int newWidth, unsigned int newHeight) {
    if (!resizable) {
        logFixedDimensions();
        return;
    }
    if (newWidth == 0 || newHeight == 0)
        throw invalidDimensions(newWidth, newHeight);
    // Checked before anything is allocated or changed.
    const unsigned int newCount = Image::checkedPixelCount(newWidth, newHeight);
    // Pixels outside the kept overlap start as opaque black, like a fresh block.
    std::vector<Colour> block(newCount, FALLBACK);
    const unsigned int rows = std::min(newHeight, height);
    const unsigned int columns = std::min(newWidth, width);
    for (unsigned int y = 0; y < rows; ++y) {
        const auto from = pixels.begin() + static_cast<std::ptrdiff_t>(y) * width;
        std::copy(from, from + columns, block.begin() + static_cast<std::ptrdiff_t>(y) * newWidth);
    }
    // The uncovered pixels are opaque; a block that had none is opaque throughout.
    if (pixels.empty())
        setAlphaClass(AlphaClass::Opaque);
    keyFound = keyFound || isTransparent(FALLBACK);
    pixels.swap(block);
    pixelCount = newCount;
    width = newWidth;
    height = newHeight;
}

void ImageImpl::setAlpha(float value) {
    // Clamped, then truncated: 0.5 gives 127. A NaN counts as fully transparent.
    const float clamped = value >= 1.0f ? 1.0f : (value > 0.0f ? value : 0.0f);
    opacity = static_cast<std::uint8_t>(clamped * 255.0f);
}

void ImageImpl::setTransparentColour(const Colour& colour) {
    transparentColour = std::make_unique<Colour>(colour);
    keyKnown = false;
}

Image::ImageException ImageImpl::invalidDimensions(unsigned int width, unsigned int height) {
    return Image::ImageException("Invalid image dimensions specified: " + std::to_string(width) + " " +
                                 std::to_string(height));
}

AlphaClass ImageImpl::getAlphaClass() const {
    if (classKnown)
        return alphaClass;
    AlphaClass found = AlphaClass::Opaque;
    for (const Colour& pixel : pixels) {
        found = std::max(found, classOf(pixel.getAlpha()));
        if (found == AlphaClass::Mixed)
            break;
    }
    alphaClass = found;
    classKnown = true;
    return found;
}

bool ImageImpl::containsTransparentColour() const {
    if (transparentColour == nullptr)
        return false;
    if (!keyKnown) {
        keyFound = std::find(pixels.begin(), pixels.end(), *transparentColour) != pixels.end();
        keyKnown = true;
    }
    return keyFound;
}

bool ImageImpl::isTransparent(const Colour& colour) const {
    return transparentColour != nullptr && colour == *transparentColour;
}

void ImageImpl::setAlphaClass(AlphaClass value) {
    alphaClass = value;
    classKnown = true;
}

AlphaClass ImageImpl::classOf(std::uint8_t alpha) {
    return alpha == 255 ? AlphaClass::Opaque : alpha == 0 ? AlphaClass::Binary : AlphaClass::Mixed;
}

void ImageImpl::logFixedDimensions() const {
    lum::log << (Log::Message(Log::Error) << "Image (" << static_cast<const void*>(this)
                                          << ") has fixed dimensions and can not be modified");
}

void ImageImpl::plotClipped(std::int64_t x, std::int64_t y, const Colour& colour) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    plot(static_cast<unsigned int>(x), static_cast<unsigned int>(y), colour);
}

void ImageImpl::drawLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                         const Colour& colour) {
    if (y1 == y2 || x1 == x2)
        drawStraightLine(x1, y1, x2, y2, colour);
    else
        drawSlopedLine(x1, y1, x2, y2, colour);
}

void ImageImpl::drawStraightLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                                 const Colour& colour) {
    // Both ends included. The walk is limited to the image: every pixel past its
    // edges would be ignored anyway, and a far-off end must not cost a long loop.
    const std::int64_t left = std::max<std::int64_t>(std::min(x1, x2), 0);
    const std::int64_t right = std::min<std::int64_t>(std::max(x1, x2), std::int64_t(width) - 1);
    const std::int64_t bottom = std::max<std::int64_t>(std::min(y1, y2), 0);
    const std::int64_t top = std::min<std::int64_t>(std::max(y1, y2), std::int64_t(height) - 1);
    for (std::int64_t y = bottom; y <= top; ++y)
        for (std::int64_t x = left; x <= right; ++x)
            plotClipped(x, y, colour);
}

void ImageImpl::drawSlopedLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                               const Colour& colour) {
    // Bresenham; the end point itself is not plotted.
    const std::int64_t dx = std::llabs(x2 - x1);
    const std::int64_t dy = std::llabs(y2 - y1);
    const std::int64_t sx = x2 > x1 ? 1 : -1;
    const std::int64_t sy = y2 > y1 ? 1 : -1;
    std::int64_t x = x1;
    std::int64_t y = y1;
    if (dx > dy) {
        std::int64_t e = 2 * dy - dx;
        do {
            plotClipped(x, y, colour);
            if (e >= 0) {
                e -= 2 * dx;
                y += sy;
            }
            e += 2 * dy;
            x += sx;
        } while (x != x2);
    } else {
        std::int64_t e = 2 * dx - dy;
        do {
            plotClipped(x, y, colour);
            if (e >= 0) {
                e -= 2 * dy;
                x += sx;
            }
            e += 2 * dx;
            y += sy;
        } while (y != y2);
    }
}

void ImageImpl::drawCircle(std::int64_t centreX, std::int64_t centreY, std::int64_t radius,
                           const Colour& colour) {
    // The midpoint method: the four axis points, then one octant mirrored eight ways.
    plotClipped(centreX, centreY + radius, colour);
    plotClipped(centreX, centreY - radius, colour);
    plotClipped(centreX + radius, centreY, colour);
    plotClipped(centreX - radius, centreY, colour);
    if (radius <= 0)
        return;
    std::int64_t f = 1 - radius;
    std::int64_t ddx = 1;
    std::int64_t ddy = -2 * radius;
    std::int64_t x = 0;
    std::int64_t y = radius;
    while (x < y) {
        if (f >= 0) {
            y -= 1;
            ddy += 2;
            f += ddy;
        }
        x += 1;
        ddx += 2;
        f += ddx;
        plotOctants(centreX, centreY, x, y, colour);
    }
}

void ImageImpl::plotOctants(std::int64_t centreX, std::int64_t centreY, std::int64_t x, std::int64_t y,
                            const Colour& colour) {
    plotClipped(centreX + x, centreY + y, colour);
    plotClipped(centreX - x, centreY + y, colour);
    plotClipped(centreX + x, centreY - y, colour);
    plotClipped(centreX - x, centreY - y, colour);
    plotClipped(centreX + y, centreY + x, colour);
    plotClipped(centreX - y, centreY + x, colour);
    plotClipped(centreX + y, centreY - x, colour);
    plotClipped(centreX - y, centreY - x, colour);
}

} // namespace lum
