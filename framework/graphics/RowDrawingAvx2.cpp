// The row operations in AVX2, eight pixels at a time. Only this file is built
// for AVX2, and only after the processor has been checked is it called; the
// upper halves of the registers are cleared on the way out, so the SSE code
// that follows pays no transition penalty.
#include "framework/graphics/BlendWeights.h"
#include "framework/graphics/Colour.h"
#include "framework/graphics/PixelRect.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>

// Everything defined from here to the pop, the row templates included, is
// built for AVX2 (each compiler has its own pragma for it).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
#include "framework/graphics/PixelRowKernels.h"

namespace lum {

namespace {

struct Avx2Lanes {
    using Vec = __m256i;
    static constexpr std::size_t WIDTH = 8;
    static Vec load(const Colour* pixels) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels)); }
    static void store(Colour* pixels, Vec value) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), value); }
    static Vec loadPart(const Colour* pixels, std::size_t n) {
        return _mm256_maskload_epi32(reinterpret_cast<const int*>(pixels), firstLanes(n));
    }
    static void storePart(Colour* pixels, Vec value, std::size_t n) {
        _mm256_maskstore_epi32(reinterpret_cast<int*>(pixels), firstLanes(n), value);
    }
    static Vec firstLanes(std::size_t n) {
        return _mm256_cmpgt_epi32(_mm256_set1_epi32(static_cast<int>(n)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    }
    static void toWords(Vec value, std::uint32_t* words) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(words), value); }
    static Vec splat(std::uint32_t value) { return _mm256_set1_epi32(static_cast<int>(value)); }
    static Vec bitAnd(Vec a, Vec b) { return _mm256_and_si256(a, b); }
    static Vec bitOr(Vec a, Vec b) { return _mm256_or_si256(a, b); }
    static Vec add(Vec a, Vec b) { return _mm256_add_epi32(a, b); }
    static Vec multiply(Vec a, Vec b) { return _mm256_mullo_epi32(a, b); }
    template <int N>
    static Vec shiftRight(Vec a) { return _mm256_srli_epi32(a, N); }
    template <int N>
    static Vec shiftLeft(Vec a) { return _mm256_slli_epi32(a, N); }
    static Vec equal(Vec a, Vec b) { return _mm256_cmpeq_epi32(a, b); }
    static Vec select(Vec mask, Vec set, Vec clear) { return _mm256_blendv_epi8(clear, set, mask); }
    static bool all(Vec mask) { return _mm256_movemask_epi8(mask) == -1; }
    static bool none(Vec mask) { return _mm256_movemask_epi8(mask) == 0; }
    // Eight entries of four words become four vectors of one part each: entries
    // i and i + 4 share a row, and each half is transposed as four by four.
    // (Gathers would be shorter, but are slow on many processors.)
    static void transpose(const BlendWeights::Entry* const* entries, Vec* parts) {
        Vec row[4];
        for (int i = 0; i < 4; ++i)
            row[i] = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entries[i]->data()))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries[i + 4]->data())), 1);
        const Vec low01 = _mm256_unpacklo_epi32(row[0], row[1]), high01 = _mm256_unpackhi_epi32(row[0], row[1]);
        const Vec low23 = _mm256_unpacklo_epi32(row[2], row[3]), high23 = _mm256_unpackhi_epi32(row[2], row[3]);
        parts[0] = _mm256_unpacklo_epi64(low01, low23);
        parts[1] = _mm256_unpackhi_epi64(low01, low23);
        parts[2] = _mm256_unpacklo_epi64(high01, high23);
        parts[3] = _mm256_unpackhi_epi64(high01, high23);
    }
};

using Kernels = PixelRowKernels<Avx2Lanes>;

void drawBinary(const PixelRect& rect, std::uint32_t key, bool opaqueTarget) {
    Kernels::drawBinary(rect, key, opaqueTarget);
    _mm256_zeroupper();
}

void drawBinaryOverColour(const PixelRect& rect, std::uint32_t key, Colour under) {
    Kernels::drawBinaryOverColour(rect, key, under);
    _mm256_zeroupper();
}

void drawMixed(const PixelRect& rect, std::uint32_t key, const BlendWeights::Table& weights, bool opaqueImage) {
    Kernels::drawMixed(rect, key, weights, opaqueImage);
    _mm256_zeroupper();
}

void drawCoverage(const PixelRect& rect, Colour colour) {
    Kernels::drawCoverage(rect, colour);
    _mm256_zeroupper();
}

void fill(Colour* target, std::size_t count, Colour colour) {
    Kernels::fill(target, count, colour);
    _mm256_zeroupper();
}

void copySwappingRedAndBlue(void* target, const Colour* source, std::size_t count) {
    Kernels::copySwappingRedAndBlue(target, source, count);
    _mm256_zeroupper();
}

bool holdsSwappedCopy(const void* target, const Colour* source, std::size_t count) {
    const bool held = Kernels::holdsSwappedCopy(target, source, count);
    _mm256_zeroupper();
    return held;
}

} // namespace

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

// Built for any x86-64, as it is asked before the processor is checked.
const PixelRowTable* avx2PixelRows() {
    static const PixelRowTable table{&drawBinary, &drawBinaryOverColour, &drawMixed, &drawCoverage,
                                     &fill,       &copySwappingRedAndBlue, &holdsSwappedCopy};
    return &table;
}

} // namespace lum

#else

#include "framework/graphics/PixelRowKernels.h"

namespace lum {
const PixelRowTable* avx2PixelRows() { return nullptr; }
} // namespace lum

#endif
