// The storage behind an Image: dimensions, the pixel block (bottom row first),
// the opacity and transparent colour used when the image is drawn onto another,
// and the pixel-level operations every drawing routine builds on.
#pragma once

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

    // Deep copy into this implementation; owner and resizable stay as they are.
    void assign(const ImageImpl& other);
    void resize(unsigned int newWidth, unsigned int newHeight);
    // Takes the size and pixels of a freshly decoded image, leaving it empty;
    // this image keeps its opacity and transparent colour. Resizable images only.
    void takePixels(ImageImpl& decoded);
    void setAlpha(float value);
    void setTransparentColour(const Colour& colour);

    Colour getPixel(unsigned int x, unsigned int y) const;

    // The one message for dimensions that are zero or too large.
    static Image::ImageException invalidDimensions(unsigned int width, unsigned int height);

    unsigned int getWidth() const { return width; }
    unsigned int getHeight() const { return height; }
    unsigned int getPixelCount() const { return pixelCount; }
    std::uint8_t getOpacity() const { return opacity; }
    const Colour* getTransparentColour() const { return transparentColour.get(); }
    // For writing anything: the alpha class is worked out again when next
    // asked, and every row is taken as changed.
    Colour* getPixels() {
        settle();
        classKnown = false;
        keyKnown = false;
        markRowsChanged(0, height);
        return pixels.empty() ? nullptr : pixels.data();
    }
    const Colour* getPixels() const {
        settle();
        return pixels.empty() ? nullptr : pixels.data();
    }
    // For writers that change only red, green and blue, or set alpha to 255,
    // and only in `rowCount` rows from `firstRow`: neither makes the alpha
    // class untrue. The new colours may be the transparent one, so whether it
    // occurs is worked out again.
    Colour* getPixelsKeepingAlphaClass(unsigned int firstRow, unsigned int rowCount) {
        settle();
        keyKnown = transparentColour == nullptr;
        markRowsChanged(firstRow, rowCount);
        return pixels.empty() ? nullptr : pixels.data();
    }
    // The colour of a clear not yet carried out, if one is waiting.
    const Colour* getPendingClear() const { return fillPending ? &pendingFill : nullptr; }
    // The same for a writer that sets every pixel of the image: a clear not
    // yet carried out is dropped instead. No row is taken as changed: the
    // writer marks those it changes.
    Colour* getPixelsToReplaceAll() {
        fillPending = false;
        keyKnown = transparentColour == nullptr;
        return pixels.empty() ? nullptr : pixels.data();
    }

    // Rows written since forgetChangedRows, one flag each (nonzero: the row
    // may have changed), bottom row first; null without pixels. A presenter
    // that keeps the last picture it was given need look at no other rows.
    const std::uint8_t* getChangedRows() const {
        settle();
        return changedRows.empty() ? nullptr : changedRows.data();
    }
    void forgetChangedRows() const { std::fill(changedRows.begin(), changedRows.end(), std::uint8_t{0}); }
    // Clipped to the image.
    void markRowsChanged(unsigned int firstRow, unsigned int rowCount) const;

    // Worked out once from the pixels, then kept true by every change.
    AlphaClass getAlphaClass() const;
    // Whether any pixel is the transparent colour; where none is, the image
    // draws as if it had none. Worked out and kept true like the alpha class.
    bool containsTransparentColour() const;

    Image* getOwner() const { return owner; }
    void setOwner(Image* image) { owner = image; }
    bool isResizable() const { return resizable; }

    // Lines and circles set single pixels through the virtual plot; signed and
    // 64-bit so that coordinates far outside the image neither wrap nor overflow.
    void plotClipped(std::int64_t x, std::int64_t y, const Colour& colour);
    void drawLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, const Colour& colour);
    void drawCircle(std::int64_t centreX, std::int64_t centreY, std::int64_t radius, const Colour& colour);

private:
    // A clear is kept as its colour until the pixels are next used, so that
    // a draw covering the whole image with opaque pixels (a frame's
    // background over the frame's clear) spares the fill.
    void settle() const {
        if (fillPending)
            fillNow();
    }
    void fillNow() const;
    // A zero-width image has rows but no pixels in them, so nothing of it can
    // change: it keeps no flags, however tall a file says it is.
    static std::size_t rowFlagCount(unsigned int pixelCount, unsigned int height) {
        return pixelCount == 0 ? 0 : height;
    }
    const std::vector<Colour>& settledPixels() const {
        settle();
        return pixels;
    }
    void logFixedDimensions() const;
    void setAlphaClass(AlphaClass value);
    bool isTransparent(const Colour& colour) const;
    static AlphaClass classOf(std::uint8_t alpha);
    void drawStraightLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                          const Colour& colour);
    void drawSlopedLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                        const Colour& colour);
    void plotOctants(std::int64_t centreX, std::int64_t centreY, std::int64_t x, std::int64_t y,
                     const Colour& colour);

    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int pixelCount = 0;
    std::uint8_t opacity = 255;
    std::unique_ptr<Colour> transparentColour;
    // Mutable for a clear carried out when the pixels are first read.
    mutable std::vector<Colour> pixels;
    mutable bool fillPending = false;
    mutable std::vector<std::uint8_t> changedRows;
    Colour pendingFill{0, 0, 0, 255};
    Image* owner;
    bool resizable;
    mutable AlphaClass alphaClass = AlphaClass::Opaque;
    mutable bool classKnown = false;
    mutable bool keyFound = false;
    mutable bool keyKnown = true;
};

} // namespace lum
