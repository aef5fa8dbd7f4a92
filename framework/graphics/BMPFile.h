// The BMP codec. Loads uncompressed 24- to 32-bit pictures with any info
// header of 40 bytes or more, bottom-up or top-down; saves 32-bit pictures
// with a 40-byte info header.
#pragma once

#include "framework/graphics/ImageFileImpl.h"

namespace lum {

class BMPFile : public ImageFileImpl {
public:
    explicit BMPFile(const std::string& filename);

    // Resizes the target to the picture and keeps its opacity and transparent
    // colour. Refused files leave the target unchanged.
    void loadFromMemory(const unsigned char* data, std::size_t size, Image& target) override;
    void save(const Image& source) override;

private:
    PixelRows pixelRows(const unsigned char* data, std::size_t size, std::uint32_t headerSize,
                        std::uint32_t width) const;
    void commit(const Image& decoded, Image& target) const;
};

} // namespace lum
