// The row operations of drawing, carried out with the widest instructions the
// processor offers: AVX2 where it has them (checked at run time), SSE2 on any
// x86-64, one pixel at a time elsewhere. Every level gives the same bytes.
#pragma once

#include "framework/graphics/BlendWeights.h"
#include "framework/graphics/Colour.h"
#include "framework/graphics/PixelRect.h"

#include <cstddef>
#include <cstdint>

namespace lum {

class RowDrawing {
public:
    enum class Level { Scalar, Sse2, Avx2 };

    // The widest level this processor and build support.
    static Level best();
    static Level active();
    // For tests and measurements: a level above the best falls back to it.
    static void use(Level level);
    static const char* name(Level level);

    // Draws a source rectangle forward onto a target with the rules of
    // drawImage: keyed pixels and alpha 0 skipped, the target's alpha never
    // changed. Without weights the source has only alphas 0 and 255 and is
    // drawn at opacity 255; otherwise the weights are those of its opacity.
    // An opaque target has only alpha 255.
    static void draw(const PixelRect& rect, const Colour* key, const BlendWeights::Table* weights, bool opaqueTarget);
    // The same for a source of alphas 0 and 255 at opacity 255 onto a target
    // that is all `under`, an opaque colour, and is not read.
    static void drawOverColour(const PixelRect& rect, const Colour* key, const Colour& under);
    // The same with each source row walked backwards from its first pixel.
    static void drawMirrored(const PixelRect& rect, const Colour* key, const BlendWeights::Table& weights);
    // Blends the text colour over the target by the coverage in the blue
    // channel of the source, an atlas; the target's alpha becomes 255.
    static void drawCoverage(const PixelRect& rect, const Colour& colour);
    // Copies `count` pixels to bytes laid out blue, green, red, alpha, as
    // windows often keep them.
    static void copySwappingRedAndBlue(void* target, const Colour* source, std::size_t count);
    // Whether `target` already holds that copy of `count` pixels.
    static bool holdsSwappedCopy(const void* target, const Colour* source, std::size_t count);
    // Sets `count` pixels to the colour.
    static void fill(Colour* target, std::size_t count, const Colour& colour);
};

} // namespace lum
