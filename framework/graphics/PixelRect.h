// One rectangle of a drawing operation, as pointers into two pixel blocks.
#pragma once

#include "framework/graphics/Colour.h"

#include <cstddef>

namespace lum {

// A rectangle of `width` × `rows` pixels drawn from one pixel block into
// another; the strides (in pixels) may be negative.
struct PixelRect {
    Colour* target;
    std::ptrdiff_t targetStride;
    const Colour* source;
    std::ptrdiff_t sourceStride;
    std::size_t width;
    std::size_t rows;
};

} // namespace lum
