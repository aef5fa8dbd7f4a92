// The BMP codec. Loads uncompressed 24- to 32-bit pictures with any info
// header of 40 bytes or more, bottom-up or top-down, 32-bit ones also with any
// channel masks; saves 32-bit pictures with a 40-byte info header.
#pragma once

#include "framework/graphics/ImageFileImpl.h"

namespace lum {

class BMPFile : public ImageFileImpl {
public:
    explicit BMPFile(const std::string& filename);

    void save(const Image& source) override;

    // Headers and pixels of the image as save writes it.
    static std::uint64_t savedFileSize(unsigned int width, unsigned int height);

private:
    // The channel masks of a 32-bit file with bit fields; absent otherwise.
    struct ColourMasks {
        bool present = false;
        std::uint32_t red = 0;
        std::uint32_t green = 0;
        std::uint32_t blue = 0;
        std::uint32_t alpha = 0;
    };

    // Where the pixels lie and how they are laid out, every field checked
    // against a file of `size` bytes; only the first bytes of the file, up to
    // the end of the alpha mask, are read from `data`.
    struct Layout {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        PixelRows rows{};
        ColourMasks masks;
    };
    Layout layoutOf(const unsigned char* data, std::size_t size) const;
    PixelRows pixelRows(const unsigned char* data, std::size_t size, std::uint32_t headerSize,
                        std::uint32_t width, ColourMasks& masks) const;
    ColourMasks readMasks(const unsigned char* data, std::size_t size, std::uint32_t headerSize, bool withAlpha,
                          std::uint64_t& headersEnd) const;
    // Masks where this reader cannot take them: with fewer than 32 bits a
    // pixel, or cut off by an info header of 41 to 51 bytes.
    ImageFile::ImageFileException unsupportedMasks() const;
    // Resizes the target to the picture and keeps its opacity and transparent
    // colour. Refused files leave the target unchanged.
    void decode(Source& source, Image& target) override;
    static void readStraight(Source& source, const PixelRows& rows, unsigned int width, unsigned int height,
                             Colour* pixels);
    static void decodeMasked(Source& source, const PixelRows& rows, const ColourMasks& masks, unsigned int width,
                             unsigned int height, Colour* pixels);
    void commit(Image& decoded, Image& target) const;
};

} // namespace lum
