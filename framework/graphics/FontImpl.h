// A loaded font: a glyph atlas holding the coverage of character codes 0-127 in
// its blue channel, one record per code saying where the glyph lies and how it
// sits on the baseline, and the measuring and drawing that only read these.
// Concrete fonts (TrueTypeFont) fill the atlas and the records once; as they
// never change afterwards, fonts of the same file and size may share them.
#pragma once

#include "framework/graphics/Colour.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageImpl.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace lum {

class FontImpl {
public:
    struct GlyphRecord {
        std::uint32_t atlasX = 0;     // left column in the atlas
        std::uint32_t atlasY = 0;     // bottom row in the atlas
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::int32_t bearingX = 0;    // kept for completeness; drawing starts glyphs at the pen
        std::int32_t baselineOffset = 0; // bottom row above the baseline, negative for descenders
    };

    static constexpr unsigned int GLYPH_COUNT = 128;

    // Everything a font measures and draws with, fixed once built.
    struct GlyphSet {
        std::uint32_t spaceWidth = 0;
        std::uint32_t characterGap = 1;
        ImageImpl atlas{nullptr, true};
        std::array<GlyphRecord, GLYPH_COUNT> glyphs{};
    };

    // The glyphs must not be null.
    explicit FontImpl(std::shared_ptr<const GlyphSet> glyphSet);
    virtual ~FontImpl();
    FontImpl(const FontImpl&) = delete;
    FontImpl& operator=(const FontImpl&) = delete;

    FontSize measureText(const std::string& text) const;
    void drawText(ImageImpl& target, int x, int y, const Colour& colour, const std::string& text) const;

    // The record of a character, or null for codes above 127, which have none.
    const GlyphRecord* findGlyph(char character) const;
    std::uint32_t getSpaceWidth() const { return glyphSet->spaceWidth; }
    std::uint32_t getCharacterGap() const { return glyphSet->characterGap; }
    // The same atlas for fonts that share their glyphs.
    const ImageImpl& getAtlas() const { return glyphSet->atlas; }

    // Handles sharing this implementation; a new implementation has one.
    void addReference() { ++referenceCount; }
    // Returns the handles left; the caller deletes the implementation at 0.
    std::uint32_t releaseReference() { return --referenceCount; }
    std::uint32_t getReferenceCount() const { return referenceCount; }

private:
    // Counted apart from the handles: fonts that share glyphs are separate
    // implementations, each with its own handles.
    std::shared_ptr<const GlyphSet> glyphSet;
    std::uint32_t referenceCount = 1;

    void drawGlyph(ImageImpl& target, Colour* targetPixels, std::int64_t left, std::int64_t baseline,
                   const GlyphRecord& glyph, const Colour& colour) const;
};

} // namespace lum
