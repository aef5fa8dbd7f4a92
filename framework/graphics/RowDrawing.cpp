// Choosing the row operations for this processor: one pixel at a time, SSE2
// (every x86-64 processor has it), or AVX2 from its own file.
#include "framework/graphics/RowDrawing.h"

#include "framework/graphics/PixelRowKernels.h"

#include <algorithm>

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define LUM_ROW_DRAWING_SSE2 1
#endif

namespace lum {

namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "a colour's alpha is the high byte of its bits");

// One pixel as a 32-bit lane; masks are all ones or all zeros.
struct ScalarLanes {
    using Vec = std::uint32_t;
    static constexpr std::size_t WIDTH = 1;
    static Vec load(const Colour* pixels) { return PixelRowKernels<ScalarLanes>::bitsOf(*pixels); }
    static void store(Colour* pixels, Vec value) { std::memcpy(static_cast<void*>(pixels), &value, sizeof value); }
    // A block of one pixel is never partial.
    static Vec loadPart(const Colour* pixels, std::size_t) { return load(pixels); }
    static void storePart(Colour* pixels, Vec value, std::size_t) { store(pixels, value); }
    static void toWords(Vec value, std::uint32_t* words) { words[0] = value; }
    static Vec splat(std::uint32_t value) { return value; }
    static Vec bitAnd(Vec a, Vec b) { return a & b; }
    static Vec bitOr(Vec a, Vec b) { return a | b; }
    static Vec add(Vec a, Vec b) { return a + b; }
    static Vec multiply(Vec a, Vec b) { return a * b; }
    template <int N>
    static Vec shiftRight(Vec a) { return a >> N; }
    template <int N>
    static Vec shiftLeft(Vec a) { return a << N; }
    static Vec equal(Vec a, Vec b) { return a == b ? ~0u : 0u; }
    static Vec select(Vec mask, Vec set, Vec clear) { return (set & mask) | (clear & ~mask); }
    static bool all(Vec mask) { return mask == ~0u; }
    static bool none(Vec mask) { return mask == 0; }
    static void transpose(const BlendWeights::Entry* const* entries, Vec* parts) {
        for (std::size_t k = 0; k < 4; ++k)
            parts[k] = (*entries[0])[k];
    }
};

#ifdef LUM_ROW_DRAWING_SSE2
struct Sse2Lanes {
    using Vec = __m128i;
    static constexpr std::size_t WIDTH = 4;
    static Vec load(const Colour* pixels) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels)); }
    static void store(Colour* pixels, Vec value) { _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), value); }
    static Vec loadPart(const Colour* pixels, std::size_t n) {
        alignas(16) std::uint32_t words[4] = {};
        std::memcpy(words, pixels, n * sizeof(Colour));
        return _mm_load_si128(reinterpret_cast<const __m128i*>(words));
    }
    static void storePart(Colour* pixels, Vec value, std::size_t n) {
        alignas(16) std::uint32_t words[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(words), value);
        std::memcpy(static_cast<void*>(pixels), words, n * sizeof(Colour));
    }
    static void toWords(Vec value, std::uint32_t* words) { _mm_storeu_si128(reinterpret_cast<__m128i*>(words), value); }
    static Vec splat(std::uint32_t value) { return _mm_set1_epi32(static_cast<int>(value)); }
    static Vec bitAnd(Vec a, Vec b) { return _mm_and_si128(a, b); }
    static Vec bitOr(Vec a, Vec b) { return _mm_or_si128(a, b); }
    static Vec add(Vec a, Vec b) { return _mm_add_epi32(a, b); }
    // SSE2 multiplies only lanes 0 and 2 into 64 bits: the odd lanes are moved
    // down for a second multiply and the low halves put back together.
    static Vec multiply(Vec a, Vec b) {
        const __m128i even = _mm_mul_epu32(a, b);
        const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
        return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                  _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
    }
    template <int N>
    static Vec shiftRight(Vec a) { return _mm_srli_epi32(a, N); }
    template <int N>
    static Vec shiftLeft(Vec a) { return _mm_slli_epi32(a, N); }
    static Vec equal(Vec a, Vec b) { return _mm_cmpeq_epi32(a, b); }
    static Vec select(Vec mask, Vec set, Vec clear) {
        return _mm_or_si128(_mm_and_si128(mask, set), _mm_andnot_si128(mask, clear));
    }
    static bool all(Vec mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
    static bool none(Vec mask) { return _mm_movemask_epi8(mask) == 0; }
    // Four entries of four words become four vectors of one part each.
    static void transpose(const BlendWeights::Entry* const* entries, Vec* parts) {
        const __m128i e0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries[0]->data()));
        const __m128i e1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries[1]->data()));
        const __m128i e2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries[2]->data()));
        const __m128i e3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries[3]->data()));
        const __m128i low01 = _mm_unpacklo_epi32(e0, e1), high01 = _mm_unpackhi_epi32(e0, e1);
        const __m128i low23 = _mm_unpacklo_epi32(e2, e3), high23 = _mm_unpackhi_epi32(e2, e3);
        parts[0] = _mm_unpacklo_epi64(low01, low23);
        parts[1] = _mm_unpackhi_epi64(low01, low23);
        parts[2] = _mm_unpacklo_epi64(high01, high23);
        parts[3] = _mm_unpackhi_epi64(high01, high23);
    }
};
#endif

const PixelRowTable SCALAR = PixelRowKernels<ScalarLanes>::table();
#ifdef LUM_ROW_DRAWING_SSE2
const PixelRowTable SSE2 = PixelRowKernels<Sse2Lanes>::table();
#endif

const PixelRowTable& tableFor(RowDrawing::Level level) {
    switch (level) {
#ifdef LUM_ROW_DRAWING_SSE2
    case RowDrawing::Level::Avx2:
        return *avx2PixelRows();
    case RowDrawing::Level::Sse2:
        return SSE2;
#endif
    default:
        return SCALAR;
    }
}

RowDrawing::Level detect() {
#ifdef LUM_ROW_DRAWING_SSE2
    // The check includes the operating system's saving of the wide registers.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && avx2PixelRows() != nullptr)
        return RowDrawing::Level::Avx2;
    return RowDrawing::Level::Sse2;
#else
    return RowDrawing::Level::Scalar;
#endif
}

struct Choice {
    RowDrawing::Level level;
    const PixelRowTable* table;
};

Choice& choice() {
    static Choice chosen{detect(), &tableFor(detect())};
    return chosen;
}

std::uint32_t keyBits(const Colour* key) {
    // Without a transparent colour nothing can match but alpha 0, which is skipped anyway.
    return key != nullptr ? PixelRowKernels<ScalarLanes>::bitsOf(*key) : 0;
}

} // namespace

RowDrawing::Level RowDrawing::best() {
    static const Level level = detect();
    return level;
}

RowDrawing::Level RowDrawing::active() {
    return choice().level;
}

void RowDrawing::use(Level level) {
    const Level chosen = static_cast<int>(level) > static_cast<int>(best()) ? best() : level;
    choice() = {chosen, &tableFor(chosen)};
}

const char* RowDrawing::name(Level level) {
    switch (level) {
    case Level::Avx2:
        return "AVX2";
    case Level::Sse2:
        return "SSE2";
    default:
        return "scalar";
    }
}

void RowDrawing::draw(const PixelRect& rect, const Colour* key, const BlendWeights::Table* weights,
                      bool opaqueTarget) {
    const PixelRowTable& table = *choice().table;
    if (weights == nullptr)
        table.drawBinary(rect, keyBits(key), opaqueTarget);
    else
        table.drawMixed(rect, keyBits(key), *weights, weights == &BlendWeights::forOpaqueImage());
}

void RowDrawing::drawOverColour(const PixelRect& rect, const Colour* key, const Colour& under) {
    choice().table->drawBinaryOverColour(rect, keyBits(key), under);
}

void RowDrawing::drawMirrored(const PixelRect& rect, const Colour* key, const BlendWeights::Table& weights) {
    // A stretch at a time, turned round into a buffer and drawn forward.
    constexpr std::size_t STRETCH = 64;
    alignas(Colour) unsigned char forward[STRETCH * sizeof(Colour)];
    Colour* target = rect.target;
    const Colour* source = rect.source;
    for (std::size_t row = 0; row < rect.rows; ++row) {
        for (std::size_t done = 0; done < rect.width; done += STRETCH) {
            const std::size_t length = std::min(STRETCH, rect.width - done);
            // Indexed from the row start: the walk never forms a pointer before the block.
            for (std::size_t i = 0; i < length; ++i)
                std::memcpy(forward + i * sizeof(Colour), &source[-static_cast<std::ptrdiff_t>(done + i)],
                            sizeof(Colour));
            draw({target + done, 0, reinterpret_cast<const Colour*>(forward), 0, length, 1}, key, &weights, false);
        }
        if (row + 1 < rect.rows) {
            target += rect.targetStride;
            source += rect.sourceStride;
        }
    }
}

void RowDrawing::copySwappingRedAndBlue(void* target, const Colour* source, std::size_t count) {
    choice().table->copySwappingRedAndBlue(target, source, count);
}

bool RowDrawing::holdsSwappedCopy(const void* target, const Colour* source, std::size_t count) {
    return choice().table->holdsSwappedCopy(target, source, count);
}

void RowDrawing::fill(Colour* target, std::size_t count, const Colour& colour) {
    choice().table->fill(target, count, colour);
}

void RowDrawing::drawCoverage(const PixelRect& rect, const Colour& colour) {
    choice().table->drawCoverage(rect, colour);
}

} // namespace lum
