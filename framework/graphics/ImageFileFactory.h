// Makes the codec for a file name from its extension. One process-wide,
// stateless instance, created on first use.
#pragma once

#include <memory>
#include <string>

namespace lum {

class ImageFileImpl;

class ImageFileFactory {
public:
    static ImageFileFactory& instance();

    // The extension is the text after the last "."; "bmp" and "tga" (exactly,
    // lower case) are known. Anything else throws std::runtime_error.
    std::unique_ptr<ImageFileImpl> create(const std::string& filename) const;

    ImageFileFactory(const ImageFileFactory&) = delete;
    ImageFileFactory& operator=(const ImageFileFactory&) = delete;

private:
    ImageFileFactory() = default;
};

} // namespace lum
