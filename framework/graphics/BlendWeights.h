// The blending weights as exact integers. Every weight the drawing rules use is
// a single-precision value of 0 or at least 2^-17, so it is a whole multiple of
// 2^-40: scaled by 2^40 it becomes an integer without loss, and
// (p × drawn + d × beneath) >> 40 is exactly the double-precision sum of the
// rules truncated toward zero (that sum is exact too: it needs under 53 bits).
// The scaled weights are kept split into their high 24 and low 16 bits, so the
// sum can be formed in 32-bit lanes:
//   p × drawn + d × beneath = 2^16 × A + B,  A = p × high + d × high',
//   B = p × low + d × low',  and the result is (A + (B >> 16)) >> 24.
// A stays below 2^32 because the two weights add up to at most 1 + 2^-24.
#pragma once

#include <array>
#include <cstdint>

namespace lum {

class BlendWeights {
public:
    // The four parts of one pair of weights, in the order of Entry.
    enum Part { DRAWN_HIGH, DRAWN_LOW, BENEATH_HIGH, BENEATH_LOW };
    using Entry = std::array<std::uint32_t, 4>;
    // Weights by index (a pixel's alpha, or a glyph's coverage).
    using Table = std::array<Entry, 256>;

    // Entry i is i / 255 rounded to five decimals; alphas and opacities become
    // blending weights only through it.
    static const std::array<float, 256>& table();

    // Alpha a of an image of opacity 255: W[a] against 1 − W[a], the
    // complement formed in single precision; alpha 255 is a plain copy.
    static const Table& forOpaqueImage();
    // Alpha a of an image of opacity o below 255: W[o] against 1 − W[o] for an
    // opaque pixel; for a partly transparent one W[a] × W[o] against 1 − W[a],
    // so the two weights do not add up to one.
    static void forOpacity(std::uint8_t opacity, Table& table);
    // Text: coverage k weighs the text colour by k / 255 and the pixel beneath
    // by (255 − k) / 255, both single precision.
    static const Table& forCoverage();

    // A single-precision weight in [0, 1] (0 or at least 2^-17), times 2^40.
    static constexpr std::uint64_t fixed(float weight) {
        return static_cast<std::uint64_t>(static_cast<double>(weight) * 1099511627776.0);
    }

    static constexpr void set(Table& table, std::size_t index, float drawn, float beneath) {
        const std::uint64_t d = fixed(drawn);
        const std::uint64_t b = fixed(beneath);
        table[index] = {static_cast<std::uint32_t>(d >> 16), static_cast<std::uint32_t>(d & 0xFFFF),
                        static_cast<std::uint32_t>(b >> 16), static_cast<std::uint32_t>(b & 0xFFFF)};
    }
};

} // namespace lum
