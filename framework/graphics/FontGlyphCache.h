// The glyphs of the fonts alive now, by the font file's path and the size, so
// a font of a file and size already in use shares the glyphs rendered for it
// instead of rendering them again. Only weak references are kept: glyphs go
// with the last font using them. Safe to use from several threads.
#pragma once

#include "framework/graphics/FontImpl.h"

#include <functional>
#include <memory>
#include <string>

namespace lum {

class FontGlyphCache {
public:
    using GlyphSetPointer = std::shared_ptr<const FontImpl::GlyphSet>;

    // The live glyphs of the file at the path (as found, relative or not) and
    // size, or else those `render` makes, which are then kept for the next
    // font. What `render` throws reaches the caller and nothing is kept. An
    // empty path, or one that cannot be made absolute, is rendered, not kept.
    static GlyphSetPointer share(const std::string& path, unsigned int size,
                                 const std::function<GlyphSetPointer()>& render);
};

} // namespace lum
