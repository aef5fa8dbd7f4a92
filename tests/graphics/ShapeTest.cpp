// Lines, circles and copying a region out of an image.
#include "framework/graphics/Image.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <utility>

using lum::Colour;
using lum::Image;

namespace {

using Points = std::set<std::pair<int, int>>;

const Colour PAPER(1, 1, 1, 255);
const Colour INK(200, 10, 20, 33); // translucent: stored as given, never blended

Points inked(const Image& image) {
    Points points;
    for (unsigned int y = 0; y < image.getHeight(); ++y)
        for (unsigned int x = 0; x < image.getWidth(); ++x)
            if (image.getPixel(x, y) != PAPER) {
                EXPECT_EQ(image.getPixel(x, y), INK);
                points.insert({int(x), int(y)});
            }
    return points;
}

Points line(int x1, int y1, int x2, int y2) { return inked(Image(4, 4, PAPER).drawLine(x1, y1, x2, y2, INK)); }
Points circle(int cx, int cy, int radius) { return inked(Image(8, 8, PAPER).drawCircle(cx, cy, radius, INK)); }

} // namespace

TEST(Shapes, StraightLinesIncludeBothEndsSlopedOnesLeaveOutTheirEndAndAllAreClipped) {
    EXPECT_EQ(line(0, 0, 3, 0), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(line(0, 0, 3, 1), (Points{{0, 0}, {1, 0}, {2, 1}}));
    EXPECT_EQ(line(3, 1, 0, 0), (Points{{3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(line(0, 0, 1, 3), (Points{{0, 0}, {0, 1}, {1, 2}}));
    EXPECT_EQ(line(-2, -2, 6, 6), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    // Far-off ends neither overflow nor take a walk across the whole range.
    EXPECT_EQ(line(2, INT_MAX, 2, INT_MIN), (Points{{2, 0}, {2, 1}, {2, 2}, {2, 3}}));
    EXPECT_EQ(circle(5, 5, 0), (Points{{5, 5}}));
    EXPECT_EQ(circle(5, 5, 1), (Points{{4, 5}, {6, 5}, {5, 4}, {5, 6}}));
    EXPECT_EQ(circle(3, 3, 2), (Points{{3, 5}, {3, 1}, {5, 3}, {1, 3}, {4, 5}, {2, 5}, {4, 1}, {2, 1},
                                       {5, 4}, {1, 4}, {5, 2}, {1, 2}}));
    EXPECT_EQ(circle(0, 0, 1), (Points{{1, 0}, {0, 1}}));
    EXPECT_EQ(circle(INT_MAX, INT_MIN, 3), Points{});
}

TEST(CopyRegion, SwappedCornersTransparencyAndCopyingIntoItself) {
    Image source(8, 8, PAPER);
    for (unsigned int i = 0; i < 64; ++i)
        source.getPixels()[i] = Colour(std::uint8_t(i), 9, 9, 255);
    source.plot(3, 3, Colour::MAGENTA).plot(4, 3, Colour(0, 0, 0, 128)).setTransparentColour(Colour::MAGENTA);
    Image region;
    EXPECT_EQ(&source.copyRegion(region, Colour(100, 100, 100, 77), 5, 5, 2, 1), &region);
    ASSERT_EQ(std::make_pair(region.getWidth(), region.getHeight()), std::make_pair(3u, 4u));
    EXPECT_EQ(region.getPixel(0, 0), Colour(10, 9, 9, 77)); // the background's alpha stays
    EXPECT_EQ(region.getPixel(2, 3), Colour(36, 9, 9, 77));
    EXPECT_EQ(region.getPixel(1, 2), Colour(100, 100, 100, 77)); // through the key colour
    EXPECT_EQ(region.getPixel(2, 2), Colour(49, 49, 49, 77));    // 100 × (1 − 0.50196)
    EXPECT_THROW(source.copyRegion(region, Colour::WHITE, 3, 1, 3, 6), Image::ImageException); // empty

    // Resizing and clearing first would destroy the pixels to be copied.
    source.copyRegion(source, Colour::WHITE, 2, 1, 5, 5);
    ASSERT_EQ(source.getWidth(), 3u);
    EXPECT_EQ(source.getPixel(2, 3), Colour(36, 9, 9, 255));
}
