// The image file handle: owns the codec the factory chose for its name and
// forwards loading and saving to it.
#include "framework/graphics/ImageFile.h"

#include "framework/graphics/ImageFileFactory.h"
#include "framework/graphics/ImageFileImpl.h"

namespace lum {

ImageFile::ImageFile(const std::string& filename) : impl(ImageFileFactory::instance().create(filename)) {}

ImageFile::~ImageFile() = default;

void ImageFile::load(Image& target) {
    impl->load(target);
}

void ImageFile::save(const Image& source) {
    impl->save(source);
}

void ImageFile::setFilename(const std::string& filename) {
    // The new codec is made before the old one goes, so a refused name cannot
    // leave this handle without a codec.
    impl = ImageFileFactory::instance().create(filename);
}

const std::string& ImageFile::getFilename() const {
    return impl->getFilename();
}

} // namespace lum
