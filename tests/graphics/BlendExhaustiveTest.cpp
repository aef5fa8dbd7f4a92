// Every combination of source channel, target channel, pixel alpha and image
// opacity (2^32 of them) drawn through drawImage and compared with the plain
// rules. Each draw is a 256 × 256 source over a 256 × 256 target: source
// column x holds channel values x, x + 85 and x + 170, target row y holds y in
// every channel, so each channel meets every pair of values once. Takes a few
// tens of seconds; it is left out of the sanitizer build.
#include "ReferenceBlend.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/RowDrawing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using lum::Colour;
using lum::Image;

namespace {

constexpr unsigned int SIDE = 256;
constexpr std::uint8_t TARGET_ALPHA = 77;

Image sourceOfAlpha(std::uint8_t alpha) {
    Image source(SIDE, SIDE, Colour::BLACK);
    for (unsigned int y = 0; y < SIDE; ++y)
        for (unsigned int x = 0; x < SIDE; ++x)
            source.getPixels()[y * SIDE + x] = Colour(std::uint8_t(x), std::uint8_t(x + 85), std::uint8_t(x + 170), alpha);
    return source;
}

Image backdrop() {
    Image target(SIDE, SIDE, Colour::BLACK);
    for (unsigned int y = 0; y < SIDE; ++y)
        for (unsigned int x = 0; x < SIDE; ++x)
            target.getPixels()[y * SIDE + x] = Colour(std::uint8_t(y), std::uint8_t(y), std::uint8_t(y), TARGET_ALPHA);
    return target;
}

// The expected picture for one alpha and opacity, from a table of every (p, d).
void expectedPicture(std::uint8_t alpha, std::uint8_t opacity, std::vector<std::uint8_t>& table, Image& expected) {
    const bool unchanged = alpha == 0 || opacity == 0;
    const reference::Weights weights = unchanged ? reference::Weights{0.0f, 1.0f} : reference::weightsFor(alpha, opacity);
    for (unsigned int p = 0; p < SIDE; ++p)
        for (unsigned int d = 0; d < SIDE; ++d)
            table[p * SIDE + d] = reference::blendChannel(std::uint8_t(p), std::uint8_t(d), weights);
    Colour* pixels = expected.getPixels();
    for (unsigned int y = 0; y < SIDE; ++y)
        for (unsigned int x = 0; x < SIDE; ++x)
            pixels[y * SIDE + x] = Colour(table[x * SIDE + y], table[std::uint8_t(x + 85) * SIDE + y],
                                          table[std::uint8_t(x + 170) * SIDE + y], TARGET_ALPHA);
}

} // namespace

TEST(ExhaustiveBlending, EveryChannelAlphaAndOpacityGivesTheBytesOfThePlainRules) {
    SCOPED_TRACE(lum::RowDrawing::name(lum::RowDrawing::active()));
    const Image fresh = backdrop();
    Image target(fresh), expected(fresh);
    std::vector<std::uint8_t> table(SIDE * SIDE);
    for (unsigned int alpha = 0; alpha < 256; ++alpha) {
        Image source = sourceOfAlpha(std::uint8_t(alpha));
        for (unsigned int opacity = 0; opacity < 256; ++opacity) {
            source.setAlpha((float(opacity) + 0.5f) / 255.0f);
            ASSERT_EQ(source.getOpacity(), opacity);
            std::memcpy(target.getPixels(), fresh.getPixels(), SIDE * SIDE * sizeof(Colour));
            target.drawImage(source);
            expectedPicture(std::uint8_t(alpha), std::uint8_t(opacity), table, expected);
            if (std::memcmp(target.getPixels(), expected.getPixels(), SIDE * SIDE * sizeof(Colour)) == 0)
                continue;
            for (unsigned int i = 0; i < SIDE * SIDE; ++i)
                ASSERT_EQ(target.getPixels()[i], expected.getPixels()[i])
                    << "alpha " << alpha << ", opacity " << opacity << ", pixel (" << i % SIDE << ", " << i / SIDE << ")";
        }
    }
}
