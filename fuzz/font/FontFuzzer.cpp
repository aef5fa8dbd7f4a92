// Loads a font from arbitrary bytes and, when it loads, measures and draws with
// it, including at the target's edges and with codes above 127. A font that is
// refused must be refused with an exception, never a crash, a leak or a read
// outside the bytes, the glyph table or the images.
#include "framework/graphics/FontImpl.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageAccess.h"
#include "framework/graphics/TrueTypeFont.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The point size comes from the length, so every byte stays font data; the
    // range covers the sizes the game and the framework fonts use.
    const unsigned int pointSize = 4 + static_cast<unsigned int>(size % 45);
    try {
        const lum::TrueTypeFont font(data, size, pointSize);
        static const std::string text = [] { // every code but 0
            std::string codes;
            for (int code = 1; code < 256; ++code) codes += static_cast<char>(code);
            return codes;
        }();
        const lum::FontSize measured = font.measureText(text);
        lum::Image image(64, 48, lum::Colour(10, 20, 30, 40));
        lum::ImageImpl& target = lum::ImageAccess::of(image);
        font.drawText(target, 2, 10, lum::Colour(200, 100, 50, 255), text);
        font.drawText(target, -static_cast<int>(measured.width / 2), -20, lum::Colour(1, 2, 3, 0), text);
        font.drawText(target, 60, 45, lum::Colour(255, 255, 255, 255), "gj|W");
    } catch (const std::runtime_error&) {
        // Refused fonts end here, image size errors included.
    }
    return 0;
}
