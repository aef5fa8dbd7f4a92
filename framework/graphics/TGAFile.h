// The TGA codec. Loads uncompressed true-colour pictures of 24 or 32 bits in
// any row order; saves 32-bit pictures, bottom row first.
#pragma once

#include "framework/graphics/ImageFileImpl.h"

namespace lum {

class TGAFile : public ImageFileImpl {
public:
    explicit TGAFile(const std::string& filename);

    // Width and height are 16-bit fields: larger images are refused.
    void save(const Image& source) override;

private:
    // The target becomes a copy of the picture: its size and pixels, opacity
    // 255 and no transparent colour. Refused files leave the target unchanged.
    void decode(Source& source, Image& target) override;
};

} // namespace lum
