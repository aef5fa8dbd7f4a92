// The row loops of drawing, written once over a set of lanes (one pixel, four
// or eight at a time) and instantiated for each instruction set. A block whose
// pixels need only a choice between the source and what lies beneath (keyed,
// alpha 0 or 255, text coverage 0 or 255) is compare-and-select; any other
// block is blended with the exact integer weights of BlendWeights, one 32-bit
// lane per pixel and channel. The last, partial block of a row is loaded and
// stored in part, so every pixel takes the same code. One call draws a whole
// rectangle, so a small sprite pays for one call, not one per row.
// Everything here is a member of the class template, so each instruction set
// gets code of its own (a file built for AVX2 includes this header after
// switching the target, and everything else before).
#pragma once

#include "framework/graphics/BlendWeights.h"
#include "framework/graphics/Colour.h"
#include "framework/graphics/PixelRect.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lum {

// The row operations of one instruction set. `key` is the transparent colour's
// bits, or 0 when there is none (alpha 0 is skipped anyway).
struct PixelRowTable {
    // For sources whose alphas are all 0 or 255, drawn at opacity 255; onto an
    // opaque target a drawn pixel is the source pixel itself.
    void (*drawBinary)(const PixelRect& rect, std::uint32_t key, bool opaqueTarget);
    // The same onto a target that is all one opaque colour, which is not read:
    // skipped pixels take that colour.
    void (*drawBinaryOverColour)(const PixelRect& rect, std::uint32_t key, Colour under);
    // Weights by alpha; `opaqueImage` says they are those of opacity 255.
    void (*drawMixed)(const PixelRect& rect, std::uint32_t key, const BlendWeights::Table& weights, bool opaqueImage);
    // Text: coverage in the blue channel of the source, an atlas.
    void (*drawCoverage)(const PixelRect& rect, Colour colour);
    // Every pixel of a block becomes the colour: stores only, nothing read.
    void (*fill)(Colour* target, std::size_t count, Colour colour);
    // Copies pixels with red and blue trading places (B, G, R, A in memory).
    void (*copySwappingRedAndBlue)(void* target, const Colour* source, std::size_t count);
    // Whether the bytes already hold that copy.
    bool (*holdsSwappedCopy)(const void* target, const Colour* source, std::size_t count);
};

template <class Lanes>
class PixelRowKernels {
public:
    using Vec = typename Lanes::Vec;

    static PixelRowTable table() {
        return {&drawBinary, &drawBinaryOverColour, &drawMixed, &drawCoverage,
                &fill,       &copySwappingRedAndBlue, &holdsSwappedCopy};
    }

    static std::uint32_t bitsOf(const Colour& colour) {
        std::uint32_t bits;
        std::memcpy(&bits, &colour, sizeof bits);
        return bits;
    }

    static void drawBinary(const PixelRect& rect, std::uint32_t key, bool opaqueTarget) {
        if (opaqueTarget)
            eachBlock(rect, [key](Colour* to, const Colour* from, std::size_t n) { drawOpaque(to, from, n, key); });
        else
            eachBlock(rect, [key](Colour* to, const Colour* from, std::size_t n) { drawBlock<true>(to, from, n, key); });
    }

    static void drawBinaryOverColour(const PixelRect& rect, std::uint32_t key, Colour under) {
        const Vec colour = Lanes::splat(bitsOf(under));
        eachBlock(rect, [key, colour](Colour* to, const Colour* from, std::size_t n) {
            const Vec pixels = load(from, n);
            store(to, Lanes::select(skipped(pixels, key), colour, pixels), n);
        });
    }

    static void drawMixed(const PixelRect& rect, std::uint32_t key, const BlendWeights::Table& weights,
                          bool opaqueImage) {
        eachBlock(rect, [&](Colour* to, const Colour* from, std::size_t n) {
            drawBlock<false>(to, from, n, key, &weights, opaqueImage);
        });
    }

    static void drawCoverage(const PixelRect& rect, Colour colour) {
        const Vec text = Lanes::splat(bitsOf(colour));
        eachBlock(rect, [&text](Colour* to, const Colour* from, std::size_t n) { coverBlock(to, from, n, text); });
    }

    static void fill(Colour* target, std::size_t count, Colour colour) {
        const Vec value = Lanes::splat(bitsOf(colour));
        std::size_t i = 0;
        for (; i + Lanes::WIDTH <= count; i += Lanes::WIDTH)
            Lanes::store(target + i, value);
        if (i < count)
            Lanes::storePart(target + i, value, count - i);
    }

    static void copySwappingRedAndBlue(void* target, const Colour* source, std::size_t count) {
        // Through Colour pointers only for the loads and stores, which copy bytes.
        Colour* to = static_cast<Colour*>(target);
        for (std::size_t i = 0; i < count; i += Lanes::WIDTH) {
            const std::size_t n = count - i < Lanes::WIDTH ? count - i : Lanes::WIDTH;
            store(to + i, swapRedAndBlue(load(source + i, n)), n);
        }
    }

    static bool holdsSwappedCopy(const void* target, const Colour* source, std::size_t count) {
        const Colour* held = static_cast<const Colour*>(target);
        for (std::size_t i = 0; i < count; i += Lanes::WIDTH) {
            const std::size_t n = count - i < Lanes::WIDTH ? count - i : Lanes::WIDTH;
            // Lanes past n read as 0 on both sides.
            if (!Lanes::all(Lanes::equal(load(held + i, n), swapRedAndBlue(load(source + i, n)))))
                return false;
        }
        return true;
    }

private:
    static constexpr std::uint32_t ALPHA = 0xFF000000u; // the fourth byte of a colour's bits
    static constexpr std::uint32_t BLUE = 0x00FF0000u;

    static Vec swapRedAndBlue(Vec pixels) {
        const Vec low = Lanes::splat(0xFFu);
        return Lanes::bitOr(Lanes::bitAnd(pixels, Lanes::splat(0xFF00FF00u)),
                            Lanes::bitOr(Lanes::bitAnd(Lanes::template shiftRight<16>(pixels), low),
                                         Lanes::template shiftLeft<16>(Lanes::bitAnd(pixels, low))));
    }

    // Row by row, whole blocks and then the rest of the row.
    template <class Block>
    static void eachBlock(const PixelRect& rect, Block block) {
        Colour* target = rect.target;
        const Colour* source = rect.source;
        for (std::size_t row = 0; row < rect.rows; ++row) {
            std::size_t i = 0;
            for (; i + Lanes::WIDTH <= rect.width; i += Lanes::WIDTH)
                block(target + i, source + i, Lanes::WIDTH);
            if (i < rect.width)
                block(target + i, source + i, rect.width - i);
            // The last row's pointers are not moved on: they might leave the blocks.
            if (row + 1 < rect.rows) {
                target += rect.targetStride;
                source += rect.sourceStride;
            }
        }
    }

    // The first n pixels; lanes past them read as 0 (alpha 0, coverage 0) and are not stored.
    static Vec load(const Colour* pixels, std::size_t n) {
        return n == Lanes::WIDTH ? Lanes::load(pixels) : Lanes::loadPart(pixels, n);
    }

    static void store(Colour* pixels, Vec value, std::size_t n) {
        if (n == Lanes::WIDTH)
            Lanes::store(pixels, value);
        else
            Lanes::storePart(pixels, value, n);
    }

    // The lanes that are the key colour or have alpha 0.
    static Vec skipped(Vec pixels, std::uint32_t key) {
        return Lanes::bitOr(Lanes::equal(pixels, Lanes::splat(key)),
                            Lanes::equal(Lanes::bitAnd(pixels, Lanes::splat(ALPHA)), Lanes::splat(0)));
    }

    // Alphas 0 and 255 onto alpha 255: where nothing is skipped the source
    // block is stored as it is, without reading the target.
    static void drawOpaque(Colour* target, const Colour* source, std::size_t n, std::uint32_t key) {
        const Vec pixels = load(source, n);
        const Vec skip = skipped(pixels, key);
        if (Lanes::none(skip))
            store(target, pixels, n);
        else if (!Lanes::all(skip))
            store(target, Lanes::select(skip, load(target, n), pixels), n);
    }

    // Skipped where every pixel is keyed or of alpha 0; where the rest are
    // opaque (at opacity 255) their red, green and blue are taken with the
    // target's alpha kept; otherwise blended.
    template <bool BINARY>
    static void drawBlock(Colour* target, const Colour* source, std::size_t n, std::uint32_t key,
                          const BlendWeights::Table* weights = nullptr, bool opaqueImage = true) {
        const Vec alpha = Lanes::splat(ALPHA);
        const Vec pixels = load(source, n);
        const Vec pixelAlpha = Lanes::bitAnd(pixels, alpha);
        const Vec skip =
            Lanes::bitOr(Lanes::equal(pixels, Lanes::splat(key)), Lanes::equal(pixelAlpha, Lanes::splat(0)));
        if (Lanes::all(skip))
            return;
        const Vec under = load(target, n);
        Vec drawn;
        if (BINARY || (opaqueImage && Lanes::all(Lanes::bitOr(skip, Lanes::equal(pixelAlpha, alpha)))))
            drawn = Lanes::select(alpha, under, pixels);
        else
            drawn = Lanes::bitOr(blend(pixels, under, weightsOf(*weights, pixels, 24)), Lanes::bitAnd(under, alpha));
        store(target, Lanes::select(skip, under, drawn), n);
    }

    // Coverage 0 keeps the colour beneath, 255 gives the text colour; alpha
    // becomes 255 either way.
    static void coverBlock(Colour* target, const Colour* atlas, std::size_t n, Vec text) {
        const Vec alpha = Lanes::splat(ALPHA);
        const Vec blue = Lanes::splat(BLUE);
        const Vec coverage = Lanes::bitAnd(load(atlas, n), blue);
        const Vec full = Lanes::equal(coverage, blue);
        const Vec under = load(target, n);
        Vec covered;
        if (Lanes::all(Lanes::bitOr(full, Lanes::equal(coverage, Lanes::splat(0)))))
            covered = Lanes::select(full, text, under);
        else
            covered = blend(text, under, weightsOf(BlendWeights::forCoverage(), coverage, 16));
        store(target, Lanes::bitOr(covered, alpha), n);
    }

    // The weights of each lane, looked up by the byte of its word at `shift`:
    // four vectors, one per part of the weights.
    struct Weights {
        Vec part[4];
    };

    static Weights weightsOf(const BlendWeights::Table& table, Vec words, int shift) {
        std::uint32_t index[Lanes::WIDTH];
        Lanes::toWords(words, index);
        const BlendWeights::Entry* entries[Lanes::WIDTH];
        for (std::size_t i = 0; i < Lanes::WIDTH; ++i)
            entries[i] = &table[(index[i] >> shift) & 0xFF];
        Weights weights;
        Lanes::transpose(entries, weights.part);
        return weights;
    }

    // Red, green and blue of `drawn` over `under`; alpha 0.
    static Vec blend(Vec drawn, Vec under, const Weights& w) {
        const Vec red = channel<0>(drawn, under, w);
        const Vec green = channel<8>(drawn, under, w);
        const Vec blue = channel<16>(drawn, under, w);
        return Lanes::bitOr(red, Lanes::bitOr(green, blue));
    }

    // (A + (B >> 16)) >> 24, see BlendWeights, back in its byte of the colour.
    template <int SHIFT>
    static Vec channel(Vec drawn, Vec under, const Weights& w) {
        const Vec byte = Lanes::splat(0xFF);
        const Vec p = Lanes::bitAnd(Lanes::template shiftRight<SHIFT>(drawn), byte);
        const Vec d = Lanes::bitAnd(Lanes::template shiftRight<SHIFT>(under), byte);
        const Vec high = Lanes::add(Lanes::multiply(p, w.part[BlendWeights::DRAWN_HIGH]),
                                    Lanes::multiply(d, w.part[BlendWeights::BENEATH_HIGH]));
        const Vec low = Lanes::add(Lanes::multiply(p, w.part[BlendWeights::DRAWN_LOW]),
                                   Lanes::multiply(d, w.part[BlendWeights::BENEATH_LOW]));
        const Vec value = Lanes::template shiftRight<24>(Lanes::add(high, Lanes::template shiftRight<16>(low)));
        return Lanes::template shiftLeft<SHIFT>(value);
    }
};

// The AVX2 operations, from a file built for them; null where the build has none.
const PixelRowTable* avx2PixelRows();

} // namespace lum
