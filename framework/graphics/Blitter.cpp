// Drawing one image into another. The source rectangle is clipped against the
// source and the target once per call, so no coordinates, however wild, make
// the loops read or write outside either pixel block.
#include "framework/graphics/Blitter.h"

#include "framework/graphics/ImageImpl.h"

#include <algorithm>
#include <cstring>

namespace lum {

namespace {

constexpr std::array<float, 256> makeWeights() {
    std::array<float, 256> table{};
    for (int i = 0; i < 256; ++i) {
        // i × 100000 / 255 rounded to the nearest integer; it never lies on a half.
        const long scaled = (static_cast<long>(i) * 200000 + 255) / 510;
        table[static_cast<std::size_t>(i)] = static_cast<float>(static_cast<double>(scaled) / 100000.0);
    }
    return table;
}

constexpr std::array<float, 256> WEIGHTS = makeWeights();

// One channel: weights in single precision, the sum in double, truncated.
inline std::uint8_t mix(std::uint8_t source, std::uint8_t target, float sourceWeight, float targetWeight) {
    const double value = static_cast<double>(source) * static_cast<double>(sourceWeight) +
                         static_cast<double>(target) * static_cast<double>(targetWeight);
    return static_cast<std::uint8_t>(static_cast<int>(value));
}

inline void copyColourKeepingAlpha(Colour& target, const Colour& source) {
    target.setRed(source.getRed());
    target.setGreen(source.getGreen());
    target.setBlue(source.getBlue());
}

// The pixels are folded together with AND, two to a 64-bit word and four words
// to a step, in registers; the alpha bytes of the result are 255 only when every
// pixel's alpha is.
inline bool allOpaque(const Colour* pixels, std::size_t count) {
    std::uint64_t a = ~0ull, b = ~0ull, c = ~0ull, d = ~0ull;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t words[4];
        std::memcpy(words, static_cast<const void*>(pixels + i), sizeof words);
        a &= words[0];
        b &= words[1];
        c &= words[2];
        d &= words[3];
    }
    for (; i < count; ++i)
        if (pixels[i].getAlpha() != 255)
            return false;
    const std::uint64_t all = a & b & c & d;
    unsigned char bytes[sizeof all];
    std::memcpy(bytes, &all, sizeof all);
    // Alpha is the fourth byte of each of the two colours in a word.
    return bytes[3] == 255 && bytes[7] == 255;
}

} // namespace

const std::array<float, 256>& Blitter::weights() {
    return WEIGHTS;
}

Blitter::Span Blitter::clipSpan(std::int64_t sourceFrom, std::int64_t sourceTo, std::int64_t dest,
                                std::int64_t sourceSize, std::int64_t targetSize) {
    Span span{};
    span.step = sourceTo < sourceFrom ? -1 : 1;
    span.sourceStart = sourceFrom;
    span.targetStart = dest;
    // Inside the rectangle and inside the target.
    span.first = std::max<std::int64_t>(0, -dest);
    span.last = std::min(span.step * (sourceTo - sourceFrom), targetSize - dest);
    // Inside the source: a forward walk must start at 0 or later and stay below
    // the size; a mirrored one must start below the size and stay at 0 or above.
    if (span.step > 0) {
        span.first = std::max(span.first, -sourceFrom);
        span.last = std::min(span.last, sourceSize - sourceFrom);
    } else {
        span.first = std::max(span.first, sourceFrom - sourceSize + 1);
        span.last = std::min(span.last, sourceFrom + 1);
    }
    return span;
}

void Blitter::drawImage(ImageImpl& target, const ImageImpl& source, std::int64_t srcX1, std::int64_t srcY1,
                        std::int64_t srcX2, std::int64_t srcY2, std::int64_t destX, std::int64_t destY) {
    if (&target == &source || source.getOpacity() == 0)
        return;
    const Span rows = clipSpan(srcY1, srcY2, destY, source.getHeight(), target.getHeight());
    const Span columns = clipSpan(srcX1, srcX2, destX, source.getWidth(), target.getWidth());
    if (rows.empty() || columns.empty())
        return;

    const std::int64_t sourceWidth = source.getWidth();
    const std::int64_t targetWidth = target.getWidth();
    const std::size_t count = static_cast<std::size_t>(columns.last - columns.first);
    const std::int64_t sourceColumn = columns.sourceStart + columns.first * columns.step;
    const std::int64_t targetColumn = columns.targetStart + columns.first;
    const Colour* sourcePixels = source.getPixels();
    Colour* targetPixels = target.getPixels();
    for (std::int64_t k = rows.first; k < rows.last; ++k) {
        const std::int64_t sourceRow = rows.sourceStart + k * rows.step;
        const std::int64_t targetRow = rows.targetStart + k;
        drawRow(targetPixels + targetRow * targetWidth + targetColumn,
                sourcePixels + sourceRow * sourceWidth + sourceColumn, static_cast<std::ptrdiff_t>(columns.step),
                count, source.getTransparentColour(), source.getOpacity());
    }
}

void Blitter::drawRow(Colour* target, const Colour* source, std::ptrdiff_t sourceStep, std::size_t count,
                      const Colour* transparent, std::uint8_t opacity) {
    const bool plain = transparent == nullptr && opacity == 255 && sourceStep == 1;
    if (plain && copyOpaqueRow(target, source, count))
        return;
    blendRow(target, source, sourceStep, count, transparent, opacity);
}

bool Blitter::copyOpaqueRow(Colour* target, const Colour* source, std::size_t count) {
    if (!allOpaque(source, count))
        return false;
    // The target's alpha is never changed: a byte copy is exact only where the
    // target is opaque too, as the screen always is.
    if (allOpaque(target, count)) {
        std::memcpy(target, source, count * sizeof(Colour));
        return true;
    }
    for (std::size_t i = 0; i < count; ++i)
        copyColourKeepingAlpha(target[i], source[i]);
    return true;
}

void Blitter::blendRow(Colour* target, const Colour* source, std::ptrdiff_t sourceStep, std::size_t count,
                       const Colour* transparent, std::uint8_t opacity) {
    const float imageWeight = WEIGHTS[opacity];
    for (std::size_t i = 0; i < count; ++i) {
        // Indexed from the row start: a mirrored walk never forms a pointer
        // before the block.
        const Colour pixel = source[static_cast<std::ptrdiff_t>(i) * sourceStep];
        if (transparent != nullptr && pixel == *transparent)
            continue;
        const std::uint8_t alpha = pixel.getAlpha();
        if (alpha == 0)
            continue;
        Colour& under = target[i];
        if (alpha == 255 && opacity == 255) {
            copyColourKeepingAlpha(under, pixel);
            continue;
        }
        const float f = alpha == 255 ? imageWeight : WEIGHTS[alpha];
        const float g = 1.0f - f;
        // A partly transparent pixel of a partly opaque image: the pixel's weight
        // is scaled by the opacity, what lies beneath keeps 1 − W[alpha].
        const float h = (alpha != 255 && opacity != 255) ? f * imageWeight : f;
        under.setRed(mix(pixel.getRed(), under.getRed(), h, g));
        under.setGreen(mix(pixel.getGreen(), under.getGreen(), h, g));
        under.setBlue(mix(pixel.getBlue(), under.getBlue(), h, g));
    }
}

} // namespace lum
