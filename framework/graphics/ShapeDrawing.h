// Lines (Bresenham) and circles (the midpoint method) drawn into an image one
// pixel at a time through its plot. Coordinates are signed and 64-bit, so
// that ends far outside the image neither wrap nor overflow.
#pragma once

#include "framework/graphics/Colour.h"

#include <cstdint>

namespace lum {

class ImageImpl;

class ShapeDrawing {
public:
    // Straight lines include both ends; sloped ones leave out the second.
    static void drawLine(ImageImpl& image, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                         const Colour& colour);
    static void drawCircle(ImageImpl& image, std::int64_t centreX, std::int64_t centreY, std::int64_t radius,
                           const Colour& colour);

private:
    static void plotClipped(ImageImpl& image, std::int64_t x, std::int64_t y, const Colour& colour);
    static void drawStraightLine(ImageImpl& image, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                                 std::int64_t y2, const Colour& colour);
    static void drawSlopedLine(ImageImpl& image, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                               std::int64_t y2, const Colour& colour);
    static void plotOctants(ImageImpl& image, std::int64_t centreX, std::int64_t centreY, std::int64_t x,
                            std::int64_t y, const Colour& colour);
};

} // namespace lum
