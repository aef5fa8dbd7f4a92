// The framework's own way to an image's implementation: the drawing, text and
// file code work on ImageImpl, which programs using lum never see.
#pragma once

#include "framework/graphics/Image.h"

namespace lum {

class ImageImpl;

class ImageAccess {
public:
    static ImageImpl& of(Image& image) { return *image.impl; }
    static const ImageImpl& of(const Image& image) { return *image.impl; }
};

} // namespace lum
