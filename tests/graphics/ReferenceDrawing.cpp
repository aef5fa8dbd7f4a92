// The reference model of drawing and the small helpers the graphics tests share.
#include "tests/graphics/ReferenceDrawing.h"

#include <cstdio>
#include <cstdlib>

namespace graphics_test {

float ruleWeight(int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%.5f", i / 255.0);
    return std::strtof(text, nullptr);
}

namespace {

std::uint8_t channel(std::uint8_t pixel, std::uint8_t under, float pixelWeight, float underWeight) {
    const double sum = double(pixel) * double(pixelWeight) + double(under) * double(underWeight);
    return static_cast<std::uint8_t>(static_cast<long>(sum));
}

std::int64_t direction(std::int64_t from, std::int64_t to) {
    return to < from ? -1 : 1;
}

} // namespace

lum::Colour ruleBlend(const lum::Colour& pixel, const lum::Colour& under, std::uint8_t opacity) {
    const int a = pixel.getAlpha();
    if (a == 0)
        return under;
    if (a == 255 && opacity == 255)
        return lum::Colour(pixel.getRed(), pixel.getGreen(), pixel.getBlue(), under.getAlpha());
    // The pixel's weight comes from its alpha, or from the opacity when it is
    // opaque; a partly transparent pixel of a partly opaque image has it scaled.
    const float f = ruleWeight(a == 255 ? opacity : a);
    const float g = 1.0f - f;
    const float h = (a != 255 && opacity != 255) ? f * ruleWeight(opacity) : f;
    return lum::Colour(channel(pixel.getRed(), under.getRed(), h, g),
                       channel(pixel.getGreen(), under.getGreen(), h, g),
                       channel(pixel.getBlue(), under.getBlue(), h, g), under.getAlpha());
}

void referenceDraw(lum::Image& target, const lum::Image& source, std::int64_t srcX1, std::int64_t srcY1,
                   std::int64_t srcX2, std::int64_t srcY2, std::int64_t destX, std::int64_t destY) {
    if (&target == &source || source.getOpacity() == 0)
        return;
    const std::int64_t rows = std::llabs(srcY2 - srcY1);
    const std::int64_t columns = std::llabs(srcX2 - srcX1);
    const lum::Colour* transparent = source.getTransparentColour();
    for (std::int64_t ty = 0; ty < target.getHeight(); ++ty) {
        const std::int64_t k = ty - destY;
        const std::int64_t sy = srcY1 + k * direction(srcY1, srcY2);
        if (k < 0 || k >= rows || sy < 0 || sy >= source.getHeight())
            continue;
        for (std::int64_t tx = 0; tx < target.getWidth(); ++tx) {
            const std::int64_t j = tx - destX;
            const std::int64_t sx = srcX1 + j * direction(srcX1, srcX2);
            if (j < 0 || j >= columns || sx < 0 || sx >= source.getWidth())
                continue;
            const lum::Colour pixel = source.getPixel(unsigned(sx), unsigned(sy));
            if (transparent != nullptr && pixel == *transparent)
                continue;
            target.plot(unsigned(tx), unsigned(ty),
                        ruleBlend(pixel, target.getPixel(unsigned(tx), unsigned(ty)), source.getOpacity()));
        }
    }
}

lum::Image noiseImage(unsigned int width, unsigned int height, std::uint32_t seed) {
    lum::Image image(width, height, lum::Colour::BLACK);
    std::uint32_t state = seed * 2654435761u + 1;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (unsigned int y = 0; y < height; ++y) {
        for (unsigned int x = 0; x < width; ++x) {
            const std::uint32_t bits = next();
            std::uint8_t alpha = std::uint8_t(bits >> 16);
            switch (bits % 5) {
            case 0: alpha = 255; break;
            case 1: alpha = 0; break;
            default: break;
            }
            lum::Colour colour(std::uint8_t(bits), std::uint8_t(bits >> 8), std::uint8_t(next()), alpha);
            if (bits % 11 == 0)
                colour = lum::Colour::MAGENTA;
            image.plot(x, y, colour);
        }
    }
    return image;
}

std::uint64_t pixelHash(const lum::Image& image) {
    std::uint64_t hash = 14695981039346656037ull;
    auto mixByte = [&hash](std::uint8_t byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    for (unsigned int shift = 0; shift < 32; shift += 8) {
        mixByte(std::uint8_t(image.getWidth() >> shift));
        mixByte(std::uint8_t(image.getHeight() >> shift));
    }
    for (unsigned int y = 0; y < image.getHeight(); ++y) {
        for (unsigned int x = 0; x < image.getWidth(); ++x) {
            const lum::Colour c = image.getPixel(x, y);
            mixByte(c.getRed());
            mixByte(c.getGreen());
            mixByte(c.getBlue());
            mixByte(c.getAlpha());
        }
    }
    return hash;
}

bool samePixels(const lum::Image& a, const lum::Image& b) {
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight())
        return false;
    for (unsigned int y = 0; y < a.getHeight(); ++y)
        for (unsigned int x = 0; x < a.getWidth(); ++x)
            if (a.getPixel(x, y) != b.getPixel(x, y))
                return false;
    return true;
}

} // namespace graphics_test
