// The changed rows of an image and their band.
#include "framework/graphics/ChangedRows.h"

#include <algorithm>

namespace lum {

void ChangedRows::reset(unsigned int rowCount) {
    flags.assign(rowCount, 1);
    first = 0;
    end = rowCount;
}

void ChangedRows::handOver(ChangedRows& into) {
    // Assigning reuses the receiver's storage: nothing is allocated per frame.
    into.flags = flags;
    into.first = first;
    into.end = end;
    std::fill(flags.begin() + first, flags.begin() + end, std::uint8_t{0});
    first = end = 0;
}

} // namespace lum
