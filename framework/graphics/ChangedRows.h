// Which rows of an image were written since someone last took them: a flag a
// row, bottom row first, and the band from the lowest to the highest flagged
// row. The image keeps one and marks it as it is drawn on; the frame takes the
// screen's, which starts the screen's afresh, and hands it to the presenter,
// which need look at no other rows of a picture it already shows.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace lum {

// Rows first .. first + count - 1; none when count is 0.
struct RowBand {
    unsigned int first = 0;
    unsigned int count = 0;
};

class ChangedRows {
public:
    // `rowCount` rows, every one of them changed: a new block of pixels.
    void reset(unsigned int rowCount);
    // Clipped to the rows there are. Inline: every draw calls it.
    void mark(unsigned int from, unsigned int count) {
        const unsigned int rows = rowCount();
        if (from >= rows || count == 0)
            return;
        const unsigned int to = count < rows - from ? from + count : rows;
        std::fill(flags.begin() + from, flags.begin() + to, std::uint8_t{1});
        first = end == first ? from : std::min(first, from);
        end = std::max(end, to);
    }
    void markAll() { mark(0, rowCount()); }

    unsigned int rowCount() const { return static_cast<unsigned int>(flags.size()); }
    bool contains(unsigned int row) const { return row < flags.size() && flags[row] != 0; }
    RowBand band() const { return end > first ? RowBand{first, end - first} : RowBand{}; }

    // Hands the marks over to `into` and keeps none.
    void handOver(ChangedRows& into);

private:
    std::vector<std::uint8_t> flags;
    // The band: rows first .. end - 1 hold every flag set.
    unsigned int first = 0;
    unsigned int end = 0;
};

} // namespace lum
