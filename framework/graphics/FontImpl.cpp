// Measuring and drawing texts from a finished glyph atlas. Drawing works on the
// raw pixel arrays: no allocation, no font library call, one clip per glyph.
#include "framework/graphics/FontImpl.h"

#include <algorithm>
#include <limits>

namespace lum {

namespace {

// Coverage k weighs the text colour by k / 255 and the pixel below by
// (255 - k) / 255, both single precision; a table spares a division per pixel.
struct BlendWeights {
    float text[256];
    float under[256];
    constexpr BlendWeights() : text(), under() {
        for (int k = 0; k < 256; ++k) {
            text[k] = static_cast<float>(k) / 255.0f;
            under[k] = static_cast<float>(255 - k) / 255.0f;
        }
    }
};

constexpr BlendWeights weights;

// The sum is formed in double and truncated; it stays below 256 since the two
// weights add up to 1 within single-precision rounding.
inline std::uint8_t mixChannel(std::uint8_t text, std::uint8_t under, unsigned int coverage) {
    return static_cast<std::uint8_t>(text * static_cast<double>(weights.text[coverage]) +
                                     under * static_cast<double>(weights.under[coverage]));
}

bool hasNoGlyph(char character) {
    return static_cast<unsigned char>(character) >= FontImpl::GLYPH_COUNT;
}

} // namespace

FontImpl::FontImpl() = default;

FontImpl::~FontImpl() = default;

const FontImpl::GlyphRecord* FontImpl::findGlyph(char character) const {
    if (hasNoGlyph(character)) {
        return nullptr;
    }
    return &glyphs[static_cast<unsigned char>(character)];
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
            width += spaceWidth;
            continue;
        }
        const GlyphRecord* glyph = findGlyph(text[i]);
        if (glyph == nullptr) {
            continue;
        }
        width += glyph->width;
        // The gap separates glyphs: none after the text's last character.
        if (i + 1 != last) {
            width += characterGap;
        }
        height = std::max(height, glyph->height);
    }
    const std::uint64_t widest = std::numeric_limits<std::uint32_t>::max();
    return FontSize{static_cast<unsigned int>(std::min(width, widest)), height};
}

void FontImpl::drawText(Image& target, int x, int y, const Colour& colour, const std::string& text) const {
    Colour* targetPixels = target.getPixels();
    if (targetPixels == nullptr) {
        return;
    }
    const std::int64_t targetWidth = target.getWidth();
    const std::int64_t targetHeight = target.getHeight();

    std::int64_t pen = x;
    for (char character : text) {
        // The pen only moves right: nothing after this point can be seen.
        if (pen >= targetWidth) {
            break;
        }
        if (character == ' ') {
            pen += spaceWidth;
            continue;
        }
        const GlyphRecord* glyph = findGlyph(character);
        if (glyph == nullptr) {
            continue;
        }
        drawGlyph(targetPixels, targetWidth, targetHeight, pen, y, *glyph, colour);
        pen += static_cast<std::int64_t>(glyph->width) + characterGap;
    }
}

void FontImpl::drawGlyph(Colour* targetPixels, std::int64_t targetWidth, std::int64_t targetHeight,
                         std::int64_t left, std::int64_t baseline, const GlyphRecord& glyph,
                         const Colour& colour) const {
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

    const Colour* atlasPixels = atlas.getPixels();
    const std::int64_t atlasWidth = atlas.getWidth();
    for (std::int64_t row = firstRow; row < endRow; ++row) {
        const Colour* source = atlasPixels + (glyph.atlasY + row) * atlasWidth + glyph.atlasX;
        Colour* destination = targetPixels + (bottom + row) * targetWidth + left;
        for (std::int64_t column = firstColumn; column < endColumn; ++column) {
            const unsigned int coverage = source[column].getBlue();
            Colour& pixel = destination[column];
            // The text colour's alpha plays no part; the result is always opaque.
            pixel = Colour(mixChannel(colour.getRed(), pixel.getRed(), coverage),
                           mixChannel(colour.getGreen(), pixel.getGreen(), coverage),
                           mixChannel(colour.getBlue(), pixel.getBlue(), coverage), 255);
        }
    }
}

} // namespace lum
