// The presenters' row copy: flipped, swapped and compared as the window asks.
#include "framework/graphics/RowCopy.h"

#include "framework/graphics/RowDrawing.h"

#include <algorithm>
#include <cstring>

namespace lum {

namespace {

// Reading is cheaper than writing, and most rows of a frame are as they were.
bool holds(const unsigned char* row, const Colour* pixels, unsigned int width, bool swapped) {
    return swapped ? RowDrawing::holdsSwappedCopy(row, pixels, width)
                   : std::memcmp(row, pixels, std::size_t{width} * sizeof(Colour)) == 0;
}

} // namespace

RowBand RowCopy::copyImage(const Colour* image, unsigned int width, unsigned int height,
                           const Destination& destination, const ChangedRows* changed) {
    const bool onlyChanged = destination.keepsRows && changed != nullptr;
    const RowBand rows = onlyChanged ? changed->band() : RowBand{0, height};
    const unsigned int factor = std::max(destination.factor, 1u);
    unsigned int first = height;
    unsigned int last = 0;
    for (unsigned int y = rows.first; y < rows.first + rows.count && y < height; ++y) {
        if (onlyChanged && !changed->contains(y))
            continue;
        const Colour* from = image + std::size_t{y} * width;
        unsigned char* to = destination.block + offsetOf(y, height, destination.pitch * factor, destination.topRowFirst);
        if (factor > 1)
            copyEnlarged(to, destination.pitch, from, width, destination.swapRedAndBlue, factor);
        else if (destination.keepsRows && holds(to, from, width, destination.swapRedAndBlue))
            continue;
        else if (destination.swapRedAndBlue)
            RowDrawing::copySwappingRedAndBlue(to, from, width);
        else
            std::memcpy(to, from, std::size_t{width} * sizeof(Colour));
        const unsigned int row = rowOf(y, height, destination.topRowFirst);
        first = std::min(first, row);
        last = std::max(last, row);
    }
    if (first > last)
        return RowBand{};
    return RowBand{first * factor, (last - first + 1) * factor};
}

// One enlarged row, then its copies below it.
void RowCopy::copyEnlarged(unsigned char* to, std::ptrdiff_t pitch, const Colour* from, unsigned int width,
                           bool swapRedAndBlue, unsigned int factor) {
    auto* row = reinterpret_cast<Colour*>(to);
    for (unsigned int x = 0; x < width; ++x) {
        const Colour& pixel = from[x];
        const Colour shown =
            swapRedAndBlue ? Colour(pixel.getBlue(), pixel.getGreen(), pixel.getRed(), pixel.getAlpha()) : pixel;
        std::fill_n(row + std::size_t{x} * factor, factor, shown);
    }
    const std::size_t rowBytes = std::size_t{width} * factor * sizeof(Colour);
    for (unsigned int copy = 1; copy < factor; ++copy)
        std::memcpy(to + copy * pitch, to, rowBytes);
}

} // namespace lum
