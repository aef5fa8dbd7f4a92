// The blending rules written out plainly, one pixel at a time, with the weights
// in single precision and the sums in double precision: what every fast path
// of drawing must reproduce byte for byte.
#pragma once

#include "framework/graphics/Colour.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace reference {

// i / 255 rounded to five decimals, in single precision.
inline const std::array<float, 256>& weights() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> values{};
        for (int i = 0; i < 256; ++i)
            values[std::size_t(i)] = float(std::nearbyint(i * 100000.0 / 255.0) / 100000.0);
        return values;
    }();
    return table;
}

// The weights of the drawn pixel and of the one beneath for alpha a and
// opacity o (neither 0); a plain copy (both 255) weighs 1 and 0.
struct Weights {
    float drawn;
    float beneath;
};

inline Weights weightsFor(std::uint8_t a, std::uint8_t o) {
    if (a == 255 && o == 255)
        return {1.0f, 0.0f};
    const std::array<float, 256>& w = weights();
    const float f = a == 255 ? w[o] : w[a];
    const float g = 1.0f - f;
    const float h = (a != 255 && o != 255) ? f * w[o] : f;
    return {h, g};
}

inline std::uint8_t blendChannel(std::uint8_t p, std::uint8_t d, Weights w) {
    return std::uint8_t(int(double(p) * double(w.drawn) + double(d) * double(w.beneath)));
}

inline std::uint8_t blendChannel(std::uint8_t p, std::uint8_t d, std::uint8_t a, std::uint8_t o) {
    return blendChannel(p, d, weightsFor(a, o));
}

// Step 8 of drawing for one source pixel landing on `under`.
inline void drawPixel(lum::Colour& under, const lum::Colour& pixel, const lum::Colour* key, std::uint8_t opacity) {
    if ((key != nullptr && pixel == *key) || pixel.getAlpha() == 0 || opacity == 0)
        return;
    const std::uint8_t a = pixel.getAlpha();
    under = lum::Colour(blendChannel(pixel.getRed(), under.getRed(), a, opacity),
                        blendChannel(pixel.getGreen(), under.getGreen(), a, opacity),
                        blendChannel(pixel.getBlue(), under.getBlue(), a, opacity), under.getAlpha());
}

// Text: coverage k weighs the colour by k / 255 and the pixel beneath by
// (255 − k) / 255; the result is opaque.
inline std::uint8_t coverChannel(std::uint8_t text, std::uint8_t under, std::uint8_t k) {
    const float a = float(k) / 255.0f;
    const float b = float(255 - k) / 255.0f;
    return std::uint8_t(int(double(text) * double(a) + double(under) * double(b)));
}

} // namespace reference
