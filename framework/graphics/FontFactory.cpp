// Font implementations by extension: only TrueType, and only under the exact
// lower-case extension "ttf".
#include "framework/graphics/FontFactory.h"

#include "framework/graphics/TrueTypeFont.h"

#include <stdexcept>

namespace lum {

namespace {

// The text after the last "." of the whole name, folders included.
std::string extensionOf(const std::string& fileName) {
    const std::string::size_type dot = fileName.rfind('.');
    if (dot == std::string::npos) {
        throw std::runtime_error("Unable to determine file type, file has no extension");
    }
    return fileName.substr(dot + 1);
}

} // namespace

FontFactory& FontFactory::instance() {
    static FontFactory factory;
    return factory;
}

std::unique_ptr<FontImpl> FontFactory::create(const std::string& fileName, unsigned int size) const {
    const std::string extension = extensionOf(fileName);
    if (extension != "ttf") {
        throw std::runtime_error("Font type is not supported: " + extension);
    }
    return std::make_unique<TrueTypeFont>(fileName, size);
}

std::unique_ptr<FontImpl> FontFactory::createFromMemory(const unsigned char* data, std::size_t length,
                                                        unsigned int size) const {
    return std::make_unique<TrueTypeFont>(data, length, size);
}

} // namespace lum
