// The storage behind an Image: dimensions, the pixel block (bottom row first),
// the opacity and transparent colour used when the image is drawn onto another,
// and what the image knows about its pixels without looking at them.
//
// Every change of pixels goes through beginWrite (or, for a whole new block,
// through replaceBlock): the write names the rows it reaches and what it may do
// to the alphas and the key colour, and the image keeps its facts and changed
// rows true from that alone. Nothing else touches them.
#pragma once

#include "framework/graphics/ChangedRows.h"
#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace lum {

// What the alphas of an image's pixels are known to be: all 255, all 0 or
// 255, anything. Drawing picks its fast paths from it.
enum class AlphaClass : std::uint8_t { Opaque, Binary, Mixed };

class ImageImpl {
public:
    // What a write may do to the pixels it reaches.
    enum class Effect : std::uint8_t {
        Recolour,  // red, green and blue change; alphas stay or become 255
        SetColour, // the pixels become exactly the write's colour
        Anything,  // any colours at all
    };
    struct Write {
        unsigned int firstRow = 0;
        // Rows reached from firstRow; 0 for a writer that names the rows it
        // changed one by one with rowsChanged.
        unsigned int rowCount = 0;
        Effect effect = Effect::Anything;
        Colour colour{0, 0, 0, 255}; // with SetColour
        // Every pixel is written: what the image held, a waiting clear
        // included, no longer matters.
        bool wholeImage = false;
    };

    // Empty: no pixels, opacity 255, no transparent colour.
    ImageImpl(Image* owner, bool resizable);
    // width × height pixels of the fill colour; refused when the count overflows.
    ImageImpl(Image* owner, unsigned int width, unsigned int height, const Colour& fill, bool resizable);
    // Deep copy of another image's pixels, opacity and transparent colour.
    ImageImpl(Image* owner, const ImageImpl& other);
    virtual ~ImageImpl();

    ImageImpl(const ImageImpl&) = delete;
    ImageImpl& operator=(const ImageImpl&) = delete;

    virtual void clear(const Colour& colour);
    virtual void plot(unsigned int x, unsigned int y, const Colour& colour);

    // The one way into the pixels for writing: carries out or drops a waiting
    // clear, brings the facts and changed rows up to date, and returns the
    // block (null without pixels).
    Colour* beginWrite(const Write& write) {
        if (!write.wholeImage)
            settle();
        facts.afterWrite(write, transparentColour.get());
        changed.mark(write.firstRow, write.rowCount);
        return pixels.empty() ? nullptr : pixels.data();
    }
    // For a writer that finds out row by row what it changed (clipped).
    void rowsChanged(unsigned int firstRow, unsigned int rowCount) { changed.mark(firstRow, rowCount); }

    // The block for the program's own writes (Image::getPixels). The image can
    // no longer know what its pixels hold, for as long as the block lives:
    // drawing takes the general paths, every row counts as changed whenever
    // changed rows are taken, and clears are carried out at once, so writes
    // through a pointer taken earlier are never undone or overlooked.
    Colour* handOutPixels();

    // Deep copy into this implementation; owner and resizable stay as they are.
    void assign(const ImageImpl& other);
    void resize(unsigned int newWidth, unsigned int newHeight);
    // Takes the size and pixels of a freshly decoded image, leaving it empty;
    // this image keeps its opacity and transparent colour. Resizable images only.
    void takePixels(ImageImpl& decoded);
    void setAlpha(float value);
    void setTransparentColour(const Colour& colour);

    Colour getPixel(unsigned int x, unsigned int y) const;
    // For reading; a waiting clear is carried out first.
    const Colour* getPixels() const {
        settle();
        return pixels.empty() ? nullptr : pixels.data();
    }
    // The colour of a clear not yet carried out, if one is waiting.
    const Colour* getPendingClear() const { return facts.fillPending ? &facts.fill : nullptr; }

    // Hands the rows changed since the last call to `into` and starts afresh;
    // a waiting clear is carried out first.
    void takeChangedRows(ChangedRows& into);

    // Worked out when first asked, then kept true by every write.
    AlphaClass getAlphaClass() const;
    // Whether any pixel is the transparent colour; where none is, the image
    // draws as if it had none.
    bool containsTransparentColour() const;

    // The one message for dimensions that are zero or too large.
    static Image::ImageException invalidDimensions(unsigned int width, unsigned int height);

    unsigned int getWidth() const { return width; }
    unsigned int getHeight() const { return height; }
    unsigned int getPixelCount() const { return pixelCount; }
    std::uint8_t getOpacity() const { return opacity; }
    const Colour* getTransparentColour() const { return transparentColour.get(); }
    Image* getOwner() const { return owner; }
    void setOwner(Image* image) { owner = image; }
    bool isResizable() const { return resizable; }

private:
    // What is known of the pixels without looking at them. Changed only by
    // its own functions, each called from one place.
    struct Facts {
        AlphaClass alphas = AlphaClass::Opaque;
        bool alphasKnown = true;
        bool keyFound = false;
        bool keyKnown = true;
        // A clear is kept as its colour until the pixels are next used, so
        // that a draw covering the whole image (a frame's background over
        // the frame's clear) spares the fill.
        bool fillPending = false;
        Colour fill{0, 0, 0, 255};
        bool handedOut = false;

        // Inline, as every draw calls it.
        void afterWrite(const Write& write, const Colour* key) {
            if (write.wholeImage)
                fillPending = false;
            const bool isKey = key != nullptr && write.colour == *key;
            switch (write.effect) {
            case Effect::Recolour: // the new colours may be the key
                keyKnown = key == nullptr;
                keyFound = false;
                break;
            case Effect::SetColour:
                if (write.wholeImage) {
                    alphas = classOf(write.colour.getAlpha());
                    alphasKnown = true;
                    keyFound = isKey;
                    keyKnown = true;
                } else {
                    // The classes widen in their order: opaque, binary, mixed.
                    alphas = std::max(alphas, classOf(write.colour.getAlpha()));
                    keyFound = keyFound || isKey;
                }
                break;
            case Effect::Anything:
                alphasKnown = false;
                keyKnown = key == nullptr;
                keyFound = false;
                break;
            }
        }
        void afterClear(const Colour& colour, const Colour* key, bool deferred);
        // The facts of a copy of the pixels in a new block, which nobody has
        // been handed: whatever a handed-out block holds must be looked at.
        Facts forNewBlock(const Colour* key) const;
    };

    // Carries out a waiting clear. Called also for const readers: the
    // image's value is the same before and after.
    void settle() const {
        if (facts.fillPending)
            fillNow();
    }
    void fillNow() const;
    // Puts a new block in place: dimensions, pixels, facts, every row changed.
    void replaceBlock(std::vector<Colour>&& block, unsigned int newWidth, unsigned int newHeight,
                      const Facts& newFacts);
    void logFixedDimensions() const;
    static AlphaClass classOf(std::uint8_t alpha) {
        return alpha == 255 ? AlphaClass::Opaque : alpha == 0 ? AlphaClass::Binary : AlphaClass::Mixed;
    }

    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int pixelCount = 0;
    std::uint8_t opacity = 255;
    std::unique_ptr<Colour> transparentColour;
    // Mutable for the waiting clear and the facts worked out on first asking.
    mutable std::vector<Colour> pixels;
    mutable ChangedRows changed;
    mutable Facts facts;
    Image* owner;
    bool resizable;
};

} // namespace lum
