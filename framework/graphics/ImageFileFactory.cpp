// Chooses BMPFile or TGAFile by the file name's extension.
#include "framework/graphics/ImageFileFactory.h"

#include "framework/graphics/BMPFile.h"
#include "framework/graphics/TGAFile.h"

#include <stdexcept>

namespace lum {

ImageFileFactory& ImageFileFactory::instance() {
    static ImageFileFactory factory;
    return factory;
}

std::unique_ptr<ImageFileImpl> ImageFileFactory::create(const std::string& filename) const {
    // A dot in a folder name counts too: "a.d/file" has the extension "d/file".
    const std::string::size_type dot = filename.rfind('.');
    if (dot == std::string::npos)
        throw std::runtime_error("Unable to determine file type, file has no extension");
    const std::string extension = filename.substr(dot + 1);
    if (extension == "bmp")
        return std::make_unique<BMPFile>(filename);
    if (extension == "tga")
        return std::make_unique<TGAFile>(filename);
    throw std::runtime_error("Unsupported file extension: " + extension);
}

} // namespace lum
