// Rows are hashed sixteen pixels at a time in eight lanes: each pair of
// pixels is mixed with a key and the two multiplied (32 by 32 bits, which
// SSE2 does two at a time), the pair itself added as well, so a change to any
// one pixel always shows. The lanes and the row hashes are mixed thoroughly
// at the end.
#include "framework/FrameHash.h"

#include "framework/graphics/ChangedRows.h"
#include "framework/graphics/Image.h"


namespace lum {

namespace {

constexpr std::uint64_t PRIME_1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t PRIME_2 = 0xC2B2AE3D27D4EB4Full;

std::uint64_t rotate(std::uint64_t value, int bits) { return (value << bits) | (value >> (64 - bits)); }

std::uint64_t mix(std::uint64_t lane, std::uint64_t input) { return rotate(lane + input * PRIME_2, 31) * PRIME_1; }

// The last step of the hash: every input bit reaches every output bit.
std::uint64_t avalanche(std::uint64_t value) {
    value ^= value >> 33;
    value *= PRIME_2;
    value ^= value >> 29;
    value *= PRIME_1;
    return value ^ (value >> 32);
}

const std::uint32_t* rowPixels(const Image& frame, unsigned int row) {
    static_assert(sizeof(Colour) == 4, "a pixel is four bytes");
    return reinterpret_cast<const std::uint32_t*>(frame.getPixels() + static_cast<std::size_t>(row) * frame.getWidth());
}

} // namespace

std::uint64_t FrameHash::ofRow(const std::uint32_t* pixels, unsigned int count) {
    static constexpr std::uint32_t LOW_KEYS[8] = {0x396CFEB8u, 0x2C81017Cu, 0xE96DD4DEu, 0xA4A44072u,
                                                  0x4EE679CBu, 0x7DD05A82u, 0x744608B8u, 0xE69035E0u};
    static constexpr std::uint32_t HIGH_KEYS[8] = {0xBE4BA423u, 0x1CAD21F7u, 0xDB979083u, 0x1F67B3B7u,
                                                   0x78E5C0CCu, 0x2172FFCCu, 0x8E2443F7u, 0x4C263A81u};
    std::uint64_t lanes[8] = {PRIME_1, PRIME_2, ~PRIME_1, ~PRIME_2, PRIME_1 >> 1, PRIME_2 >> 1, 1, 2};
    unsigned int i = 0;
    for (; i + 16 <= count; i += 16) {
        const std::uint32_t* block = pixels + i;
        for (int lane = 0; lane < 8; ++lane) {
            const std::uint32_t low = block[2 * lane];
            const std::uint32_t high = block[2 * lane + 1];
            lanes[lane] += std::uint64_t{low ^ LOW_KEYS[lane]} * (high ^ HIGH_KEYS[lane]) +
                           (std::uint64_t{high} << 32 | low);
        }
    }
    std::uint64_t hash = count;
    for (const std::uint64_t lane : lanes) hash = mix(hash, lane);
    for (; i < count; ++i) hash = mix(hash, pixels[i]);
    return avalanche(hash);
}

std::uint64_t FrameHash::combine(const std::vector<std::uint64_t>& rowHashes, unsigned int frameWidth) {
    std::uint64_t hash = PRIME_1 ^ frameWidth;
    for (const std::uint64_t row : rowHashes) hash = mix(hash, row);
    return avalanche(hash + rowHashes.size());
}

std::uint64_t FrameHash::update(const Image& frame, const ChangedRows& changed) {
    const unsigned int height = frame.getHeight();
    const bool fresh = rows.size() != height || width != frame.getWidth();
    if (fresh) {
        rows.assign(height, 0);
        width = frame.getWidth();
    }
    for (unsigned int row = 0; row < height; ++row) {
        if (fresh || changed.contains(row)) rows[row] = ofRow(rowPixels(frame, row), width);
    }
    return combine(rows, width);
}

std::uint64_t FrameHash::ofWhole(const Image& frame) {
    std::vector<std::uint64_t> rowHashes(frame.getHeight());
    for (unsigned int row = 0; row < frame.getHeight(); ++row)
        rowHashes[row] = ofRow(rowPixels(frame, row), frame.getWidth());
    return combine(rowHashes, frame.getWidth());
}

} // namespace lum
