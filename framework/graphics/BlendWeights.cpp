// The weight table and its exact integer forms, computed at compile time; only
// the tables of an opacity below 255 are made when drawing.
#include "framework/graphics/BlendWeights.h"

namespace lum {

namespace {

constexpr std::array<float, 256> makeTable() {
    std::array<float, 256> table{};
    for (int i = 0; i < 256; ++i) {
        // i × 100000 / 255 rounded to the nearest integer; it never lies on a half.
        const long scaled = (static_cast<long>(i) * 200000 + 255) / 510;
        table[static_cast<std::size_t>(i)] = static_cast<float>(static_cast<double>(scaled) / 100000.0);
    }
    return table;
}

constexpr std::array<float, 256> WEIGHTS = makeTable();

constexpr BlendWeights::Table makeOpaqueImage() {
    BlendWeights::Table table{};
    for (std::size_t i = 0; i < 256; ++i)
        BlendWeights::set(table, i, WEIGHTS[i], 1.0f - WEIGHTS[i]);
    return table;
}

constexpr BlendWeights::Table makeCoverage() {
    BlendWeights::Table table{};
    for (int k = 0; k < 256; ++k)
        BlendWeights::set(table, static_cast<std::size_t>(k), static_cast<float>(k) / 255.0f,
                          static_cast<float>(255 - k) / 255.0f);
    return table;
}

constexpr BlendWeights::Table OPAQUE_IMAGE = makeOpaqueImage();
constexpr BlendWeights::Table COVERAGE = makeCoverage();

} // namespace

const std::array<float, 256>& BlendWeights::table() {
    return WEIGHTS;
}

const BlendWeights::Table& BlendWeights::forOpaqueImage() {
    return OPAQUE_IMAGE;
}

void BlendWeights::forOpacity(std::uint8_t opacity, Table& table) {
    const float imageWeight = WEIGHTS[opacity];
    for (std::size_t a = 0; a < 255; ++a) {
        // The product is rounded to single precision before use, as every weight is.
        const float scaled = WEIGHTS[a] * imageWeight;
        set(table, a, scaled, 1.0f - WEIGHTS[a]);
    }
    set(table, 255, imageWeight, 1.0f - imageWeight);
}

const BlendWeights::Table& BlendWeights::forCoverage() {
    return COVERAGE;
}

} // namespace lum
