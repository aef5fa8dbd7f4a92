// Rows are hashed four pixels abreast in independent lanes (a multiply and a
// rotate each), so the hash runs at memory speed rather than at the latency
// of one long chain; the lanes and the row hashes are folded at the end.
#include "framework/FrameHash.h"

#include "framework/graphics/ChangedRows.h"
#include "framework/graphics/Image.h"

#include <cstring>

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
    std::uint64_t lanes[4] = {PRIME_1, PRIME_2, ~PRIME_1, ~PRIME_2};
    unsigned int i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t words[4];
        std::memcpy(words, pixels + i, sizeof words);
        for (int lane = 0; lane < 4; ++lane) lanes[lane] = mix(lanes[lane], words[lane]);
    }
    std::uint64_t hash = rotate(lanes[0], 1) + rotate(lanes[1], 7) + rotate(lanes[2], 12) + rotate(lanes[3], 18);
    for (; i < count; ++i) hash = mix(hash, pixels[i]);
    return avalanche(hash + count);
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
