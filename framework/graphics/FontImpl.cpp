// Measuring and drawing texts from a finished glyph atlas. Drawing works on the
// raw pixel arrays: no allocation, no font library call, one clip per glyph.
#include "framework/graphics/FontImpl.h"

#include "framework/graphics/RowDrawing.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace lum {

namespace {

bool hasNoGlyph(char character) {
    return static_cast<unsigned char>(character) >= FontImpl::GLYPH_COUNT;
}

} // namespace

FontImpl::FontImpl(std::shared_ptr<const GlyphSet> glyphSet) : glyphSet(std::move(glyphSet)) {}

FontImpl::~FontImpl() = default;

const FontImpl::GlyphRecord* FontImpl::findGlyph(char character) const {
    if (hasNoGlyph(character)) {
        return nullptr;
    }
    return &glyphSet->glyphs[static_cast<unsigned char>(character)];
}

FontSize FontImpl::measureText(const std::string& text) const {
    // Codes above 127 are left out as if absent, so the gap rule below sees the
    // last character that is drawn.
    std::size_t last = text.size();
    while (last > 0 && hasNoGlyph(text[last - 1])) {
        --last;
    }

    std::uint64_t width = 0;
    std::uint32_t height = 0;
    for (std::size_t i = 0; i < last; ++i) {
        if (text[i] == ' ') {
            width += getSpaceWidth();
            continue;
        }
        const GlyphRecord* glyph = findGlyph(text[i]);
        if (glyph == nullptr) {
            continue;
        }
        width += glyph->width;
        // The gap separates glyphs: none after the text's last character.
        if (i + 1 != last) {
            width += getCharacterGap();
        }
        height = std::max(height, glyph->height);
    }
    const std::uint64_t widest = std::numeric_limits<std::uint32_t>::max();
    return FontSize{static_cast<unsigned int>(std::min(width, widest)), height};
}

void FontImpl::drawText(ImageImpl& target, int x, int y, const Colour& colour, const std::string& text) const {
    // Only red, green and blue change and alpha becomes 255; each glyph names
    // the rows it draws on.
    Colour* targetPixels = target.beginWrite(ImageImpl::Write{0, 0, ImageImpl::Effect::Recolour});
    if (targetPixels == nullptr) {
        return;
    }
    const std::int64_t targetWidth = target.getWidth();

    std::int64_t pen = x;
    for (char character : text) {
        // The pen only moves right: nothing after this point can be seen.
        if (pen >= targetWidth) {
            break;
        }
        if (character == ' ') {
            pen += getSpaceWidth();
            continue;
        }
        const GlyphRecord* glyph = findGlyph(character);
        if (glyph == nullptr) {
            continue;
        }
        drawGlyph(target, targetPixels, pen, y, *glyph, colour);
        pen += static_cast<std::int64_t>(glyph->width) + getCharacterGap();
    }
}

void FontImpl::drawGlyph(ImageImpl& target, Colour* targetPixels, std::int64_t left, std::int64_t baseline,
                         const GlyphRecord& glyph, const Colour& colour) const {
    const std::int64_t targetWidth = target.getWidth();
    const std::int64_t targetHeight = target.getHeight();
    // Clip the glyph box to the target once; the loops then touch only pixels
    // that exist in both the atlas and the target.
    const std::int64_t bottom = baseline + glyph.baselineOffset;
    const std::int64_t firstRow = std::max<std::int64_t>(0, -bottom);
    const std::int64_t endRow = std::min<std::int64_t>(glyph.height, targetHeight - bottom);
    const std::int64_t firstColumn = std::max<std::int64_t>(0, -left);
    const std::int64_t endColumn = std::min<std::int64_t>(glyph.width, targetWidth - left);
    if (firstRow >= endRow || firstColumn >= endColumn) {
        return;
    }

    const ImageImpl& atlas = getAtlas();
    const PixelRect rect{targetPixels + (bottom + firstRow) * targetWidth + left + firstColumn,
                         static_cast<std::ptrdiff_t>(targetWidth),
                         atlas.getPixels() + (glyph.atlasY + firstRow) * atlas.getWidth() + glyph.atlasX + firstColumn,
                         static_cast<std::ptrdiff_t>(atlas.getWidth()), static_cast<std::size_t>(endColumn - firstColumn),
                         static_cast<std::size_t>(endRow - firstRow)};
    // The text colour's alpha plays no part; the result is always opaque.
    RowDrawing::drawCoverage(rect, colour);
    target.rowsChanged(static_cast<unsigned int>(bottom + firstRow),
                           static_cast<unsigned int>(endRow - firstRow));
}

} // namespace lum
