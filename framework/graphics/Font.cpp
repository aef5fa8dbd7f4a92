// The font handle: shares one implementation between copies and deletes it with
// the last handle; the framework fonts load lazily on first use.
#include "framework/graphics/Font.h"

#include "framework/graphics/FontFactory.h"
#include "framework/graphics/FontImpl.h"
#include "framework/graphics/ImageAccess.h"

namespace lum {

namespace {
constexpr const char* FRAMEWORK_FONT_FILE = "C:/Windows/Fonts/cour.ttf";
} // namespace

// Constant-initialised: nothing is loaded before main.
const Font::Preset Font::TINY(FRAMEWORK_FONT_FILE, 4);
const Font::Preset Font::SMALL(FRAMEWORK_FONT_FILE, 8);
const Font::Preset Font::MEDIUM(FRAMEWORK_FONT_FILE, 14);
const Font::Preset Font::LARGE(FRAMEWORK_FONT_FILE, 18);
const Font::Preset Font::VERY_LARGE(FRAMEWORK_FONT_FILE, 24);
const Font::Preset Font::MASSIVE(FRAMEWORK_FONT_FILE, 36);
const Font::Preset Font::ENORMOUS(FRAMEWORK_FONT_FILE, 48);

Font::Font(const std::string& fileName, unsigned int size)
    : impl(FontFactory::instance().create(fileName, size).release()) {}

Font::Font(const Font& other) : impl(other.impl) {
    impl->addReference();
}

Font& Font::operator=(const Font& other) {
    // Taking the new reference first keeps self-assignment harmless.
    other.impl->addReference();
    if (impl->releaseReference() == 0) {
        delete impl;
    }
    impl = other.impl;
    return *this;
}

Font::~Font() {
    if (impl->releaseReference() == 0) {
        delete impl;
    }
}

FontSize Font::measureText(const std::string& text) const {
    return impl->measureText(text);
}

void Font::drawText(Image& target, int x, int y, const Colour& colour, const std::string& text) const {
    impl->drawText(ImageAccess::of(target), x, y, colour, text);
}

Font::Preset::~Preset() {
    delete font;
}

const Font& Font::Preset::get() const {
    if (font == nullptr) {
        font = new Font(fileName, size);
    }
    return *font;
}

} // namespace lum
