// Loads arbitrary bytes as a BMP file (or, built with IMAGEFILE_FUZZ_TGA, as a
// TGA file) into an image that already has pixels, an opacity and a
// transparent colour. Besides crashes, leaks and reads outside the bytes, it
// stops on a broken promise: a refused file must leave the image as it was,
// and a loaded picture can have no more pixels than the bytes could hold.
#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"

#ifdef IMAGEFILE_FUZZ_TGA
#include "framework/graphics/TGAFile.h"
using Codec = lum::TGAFile;
static const char* const NAME = "fuzz.tga";
// A TGA load makes the image a copy of the picture.
static constexpr unsigned char LOADED_OPACITY = 255;
static constexpr bool LOADED_KEEPS_KEY = false;
#else
#include "framework/graphics/BMPFile.h"
using Codec = lum::BMPFile;
static const char* const NAME = "fuzz.bmp";
// A BMP load keeps the image's own opacity and transparent colour.
static constexpr unsigned char LOADED_OPACITY = 127;
static constexpr bool LOADED_KEEPS_KEY = true;
#endif

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace {

bool keptMagentaKey(const lum::Image& image) {
    return image.getTransparentColour() && *image.getTransparentColour() == lum::Colour::MAGENTA;
}

bool unchanged(const lum::Image& image) {
    return image.getWidth() == 2 && image.getHeight() == 1 && image.getPixel(0, 0) == lum::Colour::GREEN &&
           image.getPixel(1, 0) == lum::Colour::YELLOW && image.getOpacity() == 127 && keptMagentaKey(image);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Codec codec(NAME);
    lum::Image target(2, 1, lum::Colour::GREEN);
    target.plot(1, 0, lum::Colour::YELLOW).setAlpha(0.5f).setTransparentColour(lum::Colour::MAGENTA);
    try {
        codec.loadFromMemory(data, size, target);
    } catch (const std::runtime_error&) {
        // Refused files end here, image size errors included.
        if (!unchanged(target)) std::abort();
        return 0;
    }
    // Every pixel takes at least three bytes of the file.
    const std::size_t pixels = target.getPixelCount();
    if (pixels == 0 || pixels > size / 3 || target.getOpacity() != LOADED_OPACITY ||
        keptMagentaKey(target) != LOADED_KEEPS_KEY)
        std::abort();
    return 0;
}
