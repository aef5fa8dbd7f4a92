// Rows between images, which keep their bottom row first, and the blocks of
// files, windows and canvases, which often keep their top row first: the one
// place where the order of rows turns, and the presenters' copy of a screen.
#pragma once

#include "framework/graphics/ChangedRows.h"
#include "framework/graphics/Colour.h"

#include <cstddef>

namespace lum {

class RowCopy {
public:
    // The row of a block of `height` rows that holds image row y, and the
    // image row a block row holds: turning the order is its own inverse.
    static unsigned int rowOf(unsigned int y, unsigned int height, bool topRowFirst) {
        return topRowFirst ? height - 1 - y : y;
    }
    // Where image row y lies in a block of `height` rows `pitch` bytes apart,
    // counted in bytes from the block's start.
    static std::ptrdiff_t offsetOf(unsigned int y, unsigned int height, std::ptrdiff_t pitch, bool topRowFirst) {
        return static_cast<std::ptrdiff_t>(rowOf(y, height, topRowFirst)) * pitch;
    }

    // A block that takes a copy of a screen's rows.
    struct Destination {
        unsigned char* block;
        std::ptrdiff_t pitch;
        bool topRowFirst;
        bool swapRedAndBlue; // for blocks that keep blue first
        // The block keeps what it was given: rows it already holds are only
        // compared, and with changed rows named, no other row is looked at.
        bool keepsRows;
        // Every pixel becomes a factor × factor block (nearest sampling); the
        // block then has factor times the rows and columns.
        unsigned int factor = 1;
    };

    // Copies the rows of a bottom-row-first image of width × height pixels
    // (with `changed`, only those, where the destination keeps its rows).
    // Returns the band of destination rows written, counted from the block's
    // start; its count is 0 when none was. Enlarged rows are not compared.
    static RowBand copyImage(const Colour* image, unsigned int width, unsigned int height,
                             const Destination& destination, const ChangedRows* changed);

private:
    static void copyEnlarged(unsigned char* to, std::ptrdiff_t pitch, const Colour* from, unsigned int width,
                             bool swapRedAndBlue, unsigned int factor);
};

} // namespace lum
