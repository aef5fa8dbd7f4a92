// Storage of an image and the bookkeeping of its writes: the facts drawing
// chooses its paths by, and the rows changed since they were last taken.
#include "framework/graphics/ImageImpl.h"

#include "framework/Log.h"
#include "framework/graphics/RowDrawing.h"

#include <algorithm>
#include <string>
#include <utility>

namespace lum {

namespace {

// Opaque black is the fallback colour: outside an image and in fresh blocks.
constexpr Colour FALLBACK(0, 0, 0, 255);

// A zero-width image has rows but no pixels in them, so nothing of it can
// change: it keeps no row flags, however tall a file says it is.
unsigned int flaggedRows(unsigned int pixelCount, unsigned int height) {
    return pixelCount == 0 ? 0 : height;
}

} // namespace

// An image without pixels is opaque: it has no alpha that says otherwise.
ImageImpl::ImageImpl(Image* owner, bool resizable) : owner(owner), resizable(resizable) {}

ImageImpl::ImageImpl(Image* owner, unsigned int width, unsigned int height, const Colour& fill, bool resizable)
    : width(width), height(height), pixelCount(Image::checkedPixelCount(width, height)), pixels(pixelCount, fill),
      owner(owner), resizable(resizable) {
    changed.reset(flaggedRows(pixelCount, height));
    facts.alphas = classOf(fill.getAlpha());
}

ImageImpl::ImageImpl(Image* owner, const ImageImpl& other)
    : width(other.width), height(other.height), pixelCount(other.pixelCount), opacity(other.opacity),
      transparentColour(other.transparentColour ? std::make_unique<Colour>(*other.transparentColour) : nullptr),
      owner(owner), resizable(true) {
    other.settle();
    pixels = other.pixels;
    changed.reset(flaggedRows(pixelCount, height));
    facts = other.facts.forNewBlock(transparentColour.get());
}

ImageImpl::~ImageImpl() = default;

ImageImpl::Facts ImageImpl::Facts::forNewBlock(const Colour* key) const {
    // Callers have carried out any waiting clear; replaceBlock keeps that true.
    Facts copy = *this;
    if (handedOut) {
        copy = Facts{};
        copy.alphasKnown = false;
        copy.keyKnown = key == nullptr;
    }
    return copy;
}

void ImageImpl::Facts::afterClear(const Colour& colour, const Colour* key, bool deferred) {
    afterWrite(Write{0, 0, Effect::SetColour, colour, true}, key);
    fillPending = deferred;
    fill = colour;
}

Colour* ImageImpl::handOutPixels() {
    settle();
    facts.handedOut = true;
    changed.markAll();
    return pixels.empty() ? nullptr : pixels.data();
}

void ImageImpl::fillNow() const {
    RowDrawing::fill(pixels.data(), pixels.size(), facts.fill);
    facts.fillPending = false;
    changed.markAll();
}

void ImageImpl::clear(const Colour& colour) {
    if (pixels.empty())
        return;
    // Writes through a handed-out block must land after the clear, not be
    // undone by it later: such an image is cleared at once.
    facts.afterClear(colour, transparentColour.get(), true);
    if (facts.handedOut)
        settle();
}

void ImageImpl::plot(unsigned int x, unsigned int y, const Colour& colour) {
    if (x >= width || y >= height)
        return;
    beginWrite(Write{y, 1, Effect::SetColour, colour})[static_cast<std::size_t>(y) * width + x] = colour;
}

Colour ImageImpl::getPixel(unsigned int x, unsigned int y) const {
    if (x >= width || y >= height)
        return FALLBACK;
    if (facts.fillPending)
        return facts.fill;
    return pixels[static_cast<std::size_t>(y) * width + x];
}

void ImageImpl::takeChangedRows(ChangedRows& into) {
    settle();
    if (facts.handedOut)
        changed.markAll();
    changed.handOver(into);
}

void ImageImpl::replaceBlock(std::vector<Colour>&& block, unsigned int newWidth, unsigned int newHeight,
                             const Facts& newFacts) {
    pixels = std::move(block);
    width = newWidth;
    height = newHeight;
    pixelCount = static_cast<unsigned int>(pixels.size());
    // Pointers into the old block are no longer the program's to write through.
    facts = newFacts;
    facts.handedOut = false;
    facts.fillPending = false;
    changed.reset(flaggedRows(pixelCount, height));
}

void ImageImpl::assign(const ImageImpl& other) {
    if (&other == this)
        return;
    // The screen keeps its size: only a copy of equal dimensions is taken.
    if (!resizable && (other.width != width || other.height != height)) {
        logFixedDimensions();
        return;
    }
    other.settle();
    const Facts taken = other.facts.forNewBlock(other.transparentColour.get());
    // Copied into the existing block where it fits: no allocation.
    std::vector<Colour> block = std::move(pixels);
    block = other.pixels;
    replaceBlock(std::move(block), other.width, other.height, taken);
    opacity = other.opacity;
    transparentColour = other.transparentColour ? std::make_unique<Colour>(*other.transparentColour) : nullptr;
}

void ImageImpl::takePixels(ImageImpl& decoded) {
    if (!resizable) {
        logFixedDimensions();
        return;
    }
    decoded.settle();
    Facts taken = decoded.facts;
    // The decoded image had no transparent colour to look for.
    taken.keyKnown = transparentColour == nullptr;
    taken.keyFound = false;
    replaceBlock(std::move(decoded.pixels), decoded.width, decoded.height, taken);
    decoded.replaceBlock({}, 0, 0, Facts{});
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
    settle();
    // Pixels outside the kept overlap start as opaque black, like a fresh block.
    std::vector<Colour> block(newCount, FALLBACK);
    const unsigned int rows = std::min(newHeight, height);
    const unsigned int columns = std::min(newWidth, width);
    for (unsigned int y = 0; y < rows; ++y) {
        const auto from = pixels.begin() + static_cast<std::ptrdiff_t>(y) * width;
        std::copy(from, from + columns, block.begin() + static_cast<std::ptrdiff_t>(y) * newWidth);
    }
    Facts kept = facts.forNewBlock(transparentColour.get());
    // The uncovered pixels are opaque; a block that had none is opaque throughout.
    if (pixels.empty()) {
        kept.alphas = AlphaClass::Opaque;
        kept.alphasKnown = true;
    }
    kept.keyFound = kept.keyFound || (transparentColour != nullptr && FALLBACK == *transparentColour);
    replaceBlock(std::move(block), newWidth, newHeight, kept);
}

void ImageImpl::setAlpha(float value) {
    // Clamped, then truncated: 0.5 gives 127. A NaN counts as fully transparent.
    const float clamped = value >= 1.0f ? 1.0f : (value > 0.0f ? value : 0.0f);
    opacity = static_cast<std::uint8_t>(clamped * 255.0f);
}

void ImageImpl::setTransparentColour(const Colour& colour) {
    transparentColour = std::make_unique<Colour>(colour);
    facts.keyKnown = false;
}

Image::ImageException ImageImpl::invalidDimensions(unsigned int width, unsigned int height) {
    return Image::ImageException("Invalid image dimensions specified: " + std::to_string(width) + " " +
                                 std::to_string(height));
}

AlphaClass ImageImpl::getAlphaClass() const {
    if (facts.handedOut)
        return AlphaClass::Mixed;
    if (facts.alphasKnown)
        return facts.alphas;
    AlphaClass found = AlphaClass::Opaque;
    for (const Colour& pixel : pixels) {
        found = std::max(found, classOf(pixel.getAlpha()));
        if (found == AlphaClass::Mixed)
            break;
    }
    facts.alphas = found;
    facts.alphasKnown = true;
    return found;
}

bool ImageImpl::containsTransparentColour() const {
    if (transparentColour == nullptr)
        return false;
    if (facts.handedOut)
        return true;
    if (!facts.keyKnown) {
        facts.keyFound = std::find(pixels.begin(), pixels.end(), *transparentColour) != pixels.end();
        facts.keyKnown = true;
    }
    return facts.keyFound;
}

void ImageImpl::logFixedDimensions() const {
    lum::log << (Log::Message(Log::Error) << "Image (" << static_cast<const void*>(this)
                                          << ") has fixed dimensions and can not be modified");
}

} // namespace lum
