// A slow, obviously correct model of drawing one image into another, written
// straight from the drawing rules: it visits every target pixel and works out
// which source pixel lands there. Tests compare the real drawing against it.
#pragma once

#include "framework/graphics/Image.h"

#include <cstdint>

namespace graphics_test {

// i / 255 rounded to five decimals, read as a single-precision number.
float ruleWeight(int i);

// The target pixel after blending one source pixel over it (no transparent
// colour test here); the target's alpha is kept.
lum::Colour ruleBlend(const lum::Colour& pixel, const lum::Colour& under, std::uint8_t opacity);

void referenceDraw(lum::Image& target, const lum::Image& source, std::int64_t srcX1, std::int64_t srcY1,
                   std::int64_t srcX2, std::int64_t srcY2, std::int64_t destX, std::int64_t destY);

// Deterministic pixels from a seed: colours and alphas of every kind, with some
// fully opaque, fully transparent and keyed (magenta) pixels mixed in.
lum::Image noiseImage(unsigned int width, unsigned int height, std::uint32_t seed);

// FNV-1a over the pixel bytes and the dimensions.
std::uint64_t pixelHash(const lum::Image& image);

bool samePixels(const lum::Image& a, const lum::Image& b);

} // namespace graphics_test
