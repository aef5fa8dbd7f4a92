// A font loaded from a TrueType file (or bytes in memory) through FreeType:
// character codes 0-127 are rendered once at the requested size into the glyph
// atlas, and every FreeType object is released before the constructor returns.
// A font of a file and size that another live font already has shares that
// font's glyphs; fonts from bytes are always rendered.
#pragma once

#include "framework/graphics/FontImpl.h"
#include "framework/graphics/SystemFontLookup.h"

#include <cstddef>
#include <memory>
#include <string>

namespace lum {

class TrueTypeFont : public FontImpl {
public:
    // The file is looked up through FontLocator, so the Windows names the game
    // uses work where those paths do not exist. Size in points, at 96 dpi.
    TrueTypeFont(const std::string& fileName, unsigned int size);
    // The same from the bytes of a font file; they are read only while building.
    TrueTypeFont(const unsigned char* data, std::size_t length, unsigned int size);

private:
    struct FaceSource; // a file path or a block of bytes
    explicit TrueTypeFont(std::shared_ptr<const GlyphSet> glyphSet);
    static std::shared_ptr<const GlyphSet> glyphsOf(const SystemFont& font, unsigned int size);
    static std::shared_ptr<const GlyphSet> render(const FaceSource& source, unsigned int size);
};

} // namespace lum
