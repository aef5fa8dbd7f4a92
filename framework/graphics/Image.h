// A value-type image: a rectangular block of colours, bottom row first, with an
// opacity and an optional transparent colour used when it is drawn onto another.
#pragma once

#include "framework/graphics/Colour.h"

#include <stdexcept>
#include <string>

namespace lum {

class ImageImpl;

class Image {
public:
    class ImageException : public std::runtime_error {
    public:
        explicit ImageException(const std::string& message) : std::runtime_error(message) {}
    };

    Image();
    Image(unsigned int width, unsigned int height, const Colour& fill);
    Image(const Image& other);
    Image& operator=(const Image& other);
    virtual ~Image();

    unsigned int getWidth() const;
    unsigned int getHeight() const;
    unsigned int getPixelCount() const;
    Colour getPixel(unsigned int x, unsigned int y) const;
    Image& plot(unsigned int x, unsigned int y, const Colour& colour);
    Image& clear(const Colour& colour);
    Image& resize(unsigned int width, unsigned int height);
    Image& setAlpha(float opacity);
    Image& setTransparentColour(const Colour& colour);

    // Opacity byte (255 = fully opaque) and the transparent colour, or null.
    unsigned char getOpacity() const;
    const Colour* getTransparentColour() const;

    // The raw pixel block, row 0 (the bottom row) first; null when empty.
    // The writable block stays good, and the image sees every write through
    // it, until the block is replaced (resize, assignment, loading a file).
    // Once an image has handed it out it cannot know what its pixels hold:
    // it is drawn and presented by the general paths, and clears are carried
    // out at once, so that writes made after one are kept.
    Colour* getPixels();
    const Colour* getPixels() const;

    Image& drawImage(const Image& source, int srcX1, int srcY1, int srcX2, int srcY2, int destX, int destY);
    Image& drawImage(const Image& source);
    Image& drawLine(int x1, int y1, int x2, int y2, const Colour& colour);
    Image& drawCircle(int centreX, int centreY, int radius, const Colour& colour);
    // Resizes the destination to the rectangle, fills it with the background and
    // copies the rectangle of this image into it; returns the destination.
    Image& copyRegion(Image& destination, const Colour& background, unsigned int x1, unsigned int y1,
                      unsigned int x2, unsigned int y2) const;

    // Throws ImageException unless width × height fits the 32-bit pixel count;
    // every allocation of pixels (images, codecs, fonts) checks this first.
    static unsigned int checkedPixelCount(unsigned int width, unsigned int height);

protected:
    // For Screen: takes ownership of an implementation built by the subclass.
    explicit Image(ImageImpl* implementation);

    ImageImpl* impl;

private:
    friend class ImageAccess;
};

} // namespace lum
