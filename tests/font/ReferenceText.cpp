// A plain drawer, the blend formula worked out per channel, and image hashes
// for comparing what the font code draws with what it should draw.
#include "tests/font/ReferenceText.h"

namespace font_test {

std::uint8_t blendChannel(std::uint8_t text, std::uint8_t under, std::uint8_t coverage) {
    const float textWeight = static_cast<float>(coverage) / 255.0f;
    const float underWeight = static_cast<float>(255 - coverage) / 255.0f;
    return static_cast<std::uint8_t>(static_cast<double>(text) * textWeight +
                                     static_cast<double>(under) * underWeight);
}

void referenceDrawText(const lum::FontImpl& font, lum::Image& target, int x, int y, const lum::Colour& colour,
                       const std::string& text) {
    const lum::ImageImpl& atlas = font.getAtlas();
    long long pen = 0;
    for (char character : text) {
        const unsigned int code = static_cast<unsigned char>(character);
        if (character == ' ') {
            pen += font.getSpaceWidth();
            continue;
        }
        if (code > 127) {
            continue;
        }
        const lum::FontImpl::GlyphRecord& glyph = *font.findGlyph(character);
        for (long long row = 0; row < glyph.height; ++row) {
            for (long long column = 0; column < glyph.width; ++column) {
                const long long targetX = static_cast<long long>(x) + pen + column;
                const long long targetY = static_cast<long long>(y) + glyph.baselineOffset + row;
                if (targetX < 0 || targetY < 0 || targetX >= target.getWidth() || targetY >= target.getHeight()) {
                    continue;
                }
                const std::uint8_t coverage =
                    atlas.getPixel(static_cast<unsigned int>(glyph.atlasX + column),
                                   static_cast<unsigned int>(glyph.atlasY + row)).getBlue();
                const auto tx = static_cast<unsigned int>(targetX);
                const auto ty = static_cast<unsigned int>(targetY);
                const lum::Colour under = target.getPixel(tx, ty);
                target.plot(tx, ty,
                            lum::Colour(blendChannel(colour.getRed(), under.getRed(), coverage),
                                        blendChannel(colour.getGreen(), under.getGreen(), coverage),
                                        blendChannel(colour.getBlue(), under.getBlue(), coverage), 255));
            }
        }
        pen += glyph.width + font.getCharacterGap();
    }
}

std::uint64_t pixelHash(const lum::Image& image) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned int y = 0; y < image.getHeight(); ++y) {
        for (unsigned int x = 0; x < image.getWidth(); ++x) {
            const lum::Colour pixel = image.getPixel(x, y);
            for (std::uint8_t byte : {pixel.getRed(), pixel.getGreen(), pixel.getBlue(), pixel.getAlpha()}) {
                hash = (hash ^ byte) * 1099511628211ull;
            }
        }
    }
    return hash;
}

lum::Image patternedImage(unsigned int width, unsigned int height) {
    lum::Image image(width, height, lum::Colour(0, 0, 0, 0));
    for (unsigned int y = 0; y < height; ++y) {
        for (unsigned int x = 0; x < width; ++x) {
            image.plot(x, y,
                       lum::Colour(static_cast<std::uint8_t>(x * 7 + y * 3), static_cast<std::uint8_t>(x * 13 + y * 29),
                                   static_cast<std::uint8_t>(255 - x * 5 - y * 11), static_cast<std::uint8_t>(x + y)));
        }
    }
    return image;
}

} // namespace font_test
