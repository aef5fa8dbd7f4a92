// The presenters' copy of the screen into a window's pixels: rows flipped,
// red and blue swapped where the window keeps blue first, and only the rows
// that changed written and reported.
#include "framework/graphics/ChangedRows.h"
#include "framework/graphics/Colour.h"
#include "framework/graphics/RowCopy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using lum::Colour;
using lum::RowCopy;

constexpr unsigned int WIDTH = 9; // a whole block of eight and a rest
constexpr unsigned int HEIGHT = 6;
constexpr int PITCH = WIDTH * 4 + 8; // rows padded, as windows may pad them

struct Band {
    int first;
    int count;
};

Band copy(const std::vector<Colour>& screen, std::vector<unsigned char>& window, bool swap, bool kept,
          const lum::ChangedRows* changed = nullptr) {
    const lum::RowBand band = RowCopy::copyImage(screen.data(), WIDTH, HEIGHT,
                                                 RowCopy::Destination{window.data(), PITCH, true, swap, kept}, changed);
    return {band.count == 0 ? -1 : int(band.first), int(band.count)};
}

// The window row `row` (top first) as it should show its screen row, counted
// from the bottom, with every pixel `factor` columns wide.
void expectRowShown(const std::vector<Colour>& screen, const std::vector<unsigned char>& window, unsigned int row,
                    bool swap, unsigned int factor = 1, int pitch = PITCH) {
    for (unsigned int x = 0; x < WIDTH * factor; ++x) {
        const Colour& pixel = screen[(HEIGHT - 1 - row / factor) * WIDTH + x / factor];
        const unsigned char* shown = &window[row * pitch + x * 4];
        const unsigned char expected[4] = {swap ? pixel.getBlue() : pixel.getRed(), pixel.getGreen(),
                                           swap ? pixel.getRed() : pixel.getBlue(), pixel.getAlpha()};
        ASSERT_EQ(std::memcmp(shown, expected, 4), 0) << "row " << row << ", column " << x;
    }
}

TEST(PresenterCopy, OnlyChangedRowsAreWrittenAndTheirBandIsReported) {
    static_assert(HEIGHT == 6, "the row flags below are for six rows");
    for (const bool swap : {false, true}) {
        SCOPED_TRACE(swap ? "red and blue swapped" : "same layout");
        std::vector<Colour> screen;
        for (unsigned int i = 0; i < WIDTH * HEIGHT; ++i)
            screen.emplace_back(std::uint8_t(i), std::uint8_t(3 * i), std::uint8_t(255 - i), std::uint8_t(200 + i % 50));
        std::vector<unsigned char> window(PITCH * HEIGHT, 0);

        // (The whole first copy is checked with the factors below.)
        Band band = copy(screen, window, swap, true);
        EXPECT_EQ(band.first, 0);
        EXPECT_EQ(band.count, static_cast<int>(HEIGHT));
        band = copy(screen, window, swap, true);
        EXPECT_EQ(band.count, 0) << "nothing changed";

        // Screen rows 1 and 3 (counted upwards) are window rows 4 and 2; the
        // last pixel of a row lies in the rest after the whole block.
        screen[1 * WIDTH + WIDTH - 1] = Colour(1, 2, 3, 4);
        screen[3 * WIDTH] = Colour(5, 6, 7, 8);
        std::vector<unsigned char> before = window;
        band = copy(screen, window, swap, true);
        EXPECT_EQ(band.first, 2);
        EXPECT_EQ(band.count, 3);
        for (unsigned int row = 0; row < HEIGHT; ++row) expectRowShown(screen, window, row, swap);
        EXPECT_EQ(std::memcmp(&window[3 * PITCH], &before[3 * PITCH], PITCH), 0);

        // Rows the screen does not flag are not looked at, changed or not.
        screen[0] = Colour(9, 9, 9, 9); // screen row 0: window row 5
        screen[4 * WIDTH + 2] = Colour(8, 8, 8, 8); // screen row 4: window row 1
        lum::ChangedRows changed, taken;
        changed.reset(HEIGHT);
        changed.handOver(taken); // sized, none changed
        changed.mark(4, 1);
        before = window;
        band = copy(screen, window, swap, true, &changed);
        EXPECT_EQ(band.first, 1);
        EXPECT_EQ(band.count, 1);
        expectRowShown(screen, window, 1, swap);
        EXPECT_EQ(std::memcmp(&window[5 * PITCH], &before[5 * PITCH], PITCH), 0);

        // A buffer that only takes writes is written whole and reported whole.
        band = copy(screen, window, swap, false);
        EXPECT_EQ(band.first, 0);
        EXPECT_EQ(band.count, static_cast<int>(HEIGHT));
    }
}

// At 1:1 and enlarged by whole factors, every window pixel is the screen pixel
// it covers (nearest sampling), flipped and swapped, the padding between rows
// untouched; a changed screen row rewrites its whole block of window rows and
// no other.
TEST(PresenterCopy, WholeFactorsMakeEveryPixelABlockOfItself) {
    for (const unsigned int factor : {1u, 2u, 3u}) {
        for (const bool swap : {false, true}) {
            std::vector<Colour> screen;
            for (unsigned int i = 0; i < WIDTH * HEIGHT; ++i)
                screen.emplace_back(std::uint8_t(7 * i), std::uint8_t(i), std::uint8_t(99 - i), std::uint8_t(255 - i));
            const int pitch = static_cast<int>(WIDTH * factor * 4 + 12);
            std::vector<unsigned char> window(std::size_t(pitch) * HEIGHT * factor, 0);
            lum::ChangedRows changed, taken;
            changed.reset(HEIGHT);
            changed.handOver(taken);
            changed.mark(2, 1);
            for (const lum::ChangedRows* rows : {static_cast<const lum::ChangedRows*>(nullptr), static_cast<const lum::ChangedRows*>(&changed)}) {
                if (rows != nullptr) screen[2 * WIDTH + 4] = Colour(1, 2, 3, 4);
                const lum::RowBand band = RowCopy::copyImage(
                    screen.data(), WIDTH, HEIGHT, RowCopy::Destination{window.data(), pitch, true, swap, true, factor},
                    rows);
                EXPECT_EQ(band.first, rows == nullptr ? 0 : (HEIGHT - 1 - 2) * factor);
                EXPECT_EQ(band.count, rows == nullptr ? HEIGHT * factor : factor);
                for (unsigned int row = 0; row < HEIGHT * factor; ++row) {
                    expectRowShown(screen, window, row, swap, factor, pitch);
                    for (int byte = int(WIDTH * factor * 4); byte < pitch; ++byte) ASSERT_EQ(window[row * pitch + byte], 0);
                }
            }
        }
    }
}

} // namespace
