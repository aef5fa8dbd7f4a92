// Draws one image into another: placement, clipping to both images once per
// call, then row by row over the raw pixel blocks with the blending rules of
// the weight table: plain copies, compare-and-select for keyed and binary
// images, exact integer blending for the rest. No allocation and no virtual
// call per pixel.
#pragma once

#include "framework/graphics/Colour.h"
#include "framework/graphics/PixelRect.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace lum {

class ImageImpl;

class Blitter {
public:
    // Entry i is i / 255 rounded to five decimals; alphas and opacities become
    // blending weights only through it.
    static const std::array<float, 256>& weights();

    // Copies the source rectangle with corners (srcX1, srcY1), (srcX2, srcY2) so
    // that the first corner lands on (destX, destY). A second corner below the
    // first mirrors that axis. Only pixels inside both images are touched.
    static void drawImage(ImageImpl& target, const ImageImpl& source, std::int64_t srcX1, std::int64_t srcY1,
                          std::int64_t srcX2, std::int64_t srcY2, std::int64_t destX, std::int64_t destY);

private:
    // One axis of a draw after clipping: steps k in [first, last) take source
    // coordinate sourceStart + k × step to target coordinate targetStart + k.
    struct Span {
        std::int64_t first;
        std::int64_t last;
        std::int64_t step;
        std::int64_t sourceStart;
        std::int64_t targetStart;
        bool empty() const { return first >= last; }
    };
    static Span clipSpan(std::int64_t sourceFrom, std::int64_t sourceTo, std::int64_t dest,
                         std::int64_t sourceSize, std::int64_t targetSize);

    // How every row of one draw is done, chosen once from the images' alpha
    // classes, the opacity, the transparent colour and the column direction.
    enum class RowMode { Copied, Selected, Blended, Mirrored };
    static RowMode chooseMode(const ImageImpl& target, const ImageImpl& source, std::int64_t step);
    static void copyRows(ImageImpl& target, unsigned int targetRow, const PixelRect& rect);
    static void drawRect(RowMode mode, const PixelRect& rect, const ImageImpl& source, bool opaqueTarget);
};

} // namespace lum
