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

Points line(int x1, int y1, int x2, int y2, unsigned int size = 8) {
    Image image(size, size, PAPER);
    return inked(image.drawLine(x1, y1, x2, y2, INK));
}

Points circle(int cx, int cy, int radius) {
    Image image(32, 32, PAPER);
    return inked(image.drawCircle(cx, cy, radius, INK));
}

} // namespace

TEST(Lines, StraightOnesIncludeBothEndsSlopedOnesLeaveOutTheirEnd) {
    EXPECT_EQ(line(0, 0, 3, 0), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(line(5, 4, 5, 1), (Points{{5, 1}, {5, 2}, {5, 3}, {5, 4}}));
    EXPECT_EQ(line(2, 2, 2, 2), (Points{{2, 2}}));
    EXPECT_EQ(line(0, 0, 3, 1), (Points{{0, 0}, {1, 0}, {2, 1}}));
    EXPECT_EQ(line(3, 1, 0, 0), (Points{{3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(line(0, 0, 1, 3), (Points{{0, 0}, {0, 1}, {1, 2}}));
    EXPECT_EQ(line(4, 0, 0, 2), (Points{{4, 0}, {3, 1}, {2, 1}, {1, 2}}));
    // Parts outside the image are dropped.
    EXPECT_EQ(line(-2, -2, 6, 6, 4), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    // Far-off ends neither overflow nor take a walk across the whole range.
    EXPECT_EQ(line(INT_MIN, 3, INT_MAX, 3, 4), (Points{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(line(2, INT_MAX, 2, INT_MIN, 4), (Points{{2, 0}, {2, 1}, {2, 2}, {2, 3}}));
}

TEST(Circles, MidpointOutlinesAreClippedToTheImage) {
    EXPECT_EQ(circle(5, 5, 0), (Points{{5, 5}}));
    EXPECT_EQ(circle(5, 5, 1), (Points{{4, 5}, {6, 5}, {5, 4}, {5, 6}}));
    EXPECT_EQ(circle(10, 12, 3), (Points{{10, 15}, {10, 9}, {13, 12}, {7, 12}, {11, 15}, {9, 15}, {11, 9}, {9, 9},
                                         {13, 13}, {7, 13}, {13, 11}, {7, 11}, {12, 14}, {8, 14}, {12, 10}, {8, 10}}));
    EXPECT_EQ(circle(0, 0, 1), (Points{{1, 0}, {0, 1}}));
    EXPECT_EQ(circle(INT_MAX, INT_MIN, 3), Points{});
}

TEST(CopyRegion, SwappedCornersGiveTheRectangleBetweenThem) {
    Image source(8, 8, PAPER);
    for (unsigned int i = 0; i < 64; ++i)
        source.getPixels()[i] = Colour(std::uint8_t(i), 9, 9, 255);
    Image region;
    EXPECT_EQ(&source.copyRegion(region, Colour::WHITE, 5, 5, 2, 1), &region);
    ASSERT_EQ(region.getWidth(), 3u);
    ASSERT_EQ(region.getHeight(), 4u);
    for (unsigned int y = 0; y < 4; ++y)
        for (unsigned int x = 0; x < 3; ++x)
            EXPECT_EQ(region.getPixel(x, y), source.getPixel(x + 2, y + 1)) << x << "," << y;

    // An empty rectangle is refused by the resize.
    EXPECT_THROW(source.copyRegion(region, Colour::WHITE, 3, 1, 3, 6), Image::ImageException);
    EXPECT_EQ(region.getPixel(2, 3), source.getPixel(4, 4));
}

TEST(CopyRegion, BackgroundShowsThroughTransparentPixels) {
    Image sprite(4, 4, Colour::GREEN);
    sprite.plot(1, 1, Colour::MAGENTA).plot(2, 2, Colour(255, 255, 255, 0)).plot(3, 3, Colour(0, 0, 0, 128));
    sprite.setTransparentColour(Colour::MAGENTA);
    Image region(1, 1, Colour::RED);
    sprite.copyRegion(region, Colour(100, 100, 100, 77), 0, 0, 4, 4);
    EXPECT_EQ(region.getPixel(1, 1), Colour(100, 100, 100, 77));
    EXPECT_EQ(region.getPixel(2, 2), Colour(100, 100, 100, 77));
    EXPECT_EQ(region.getPixel(3, 3), Colour(49, 49, 49, 77)); // 100 × (1 − 0.50196)
    EXPECT_EQ(region.getPixel(0, 0), Colour(0, 255, 0, 77));
}

TEST(CopyRegion, RegionOfAnImageIntoItselfKeepsThePixels) {
    // Resizing and clearing first would destroy the pixels to be copied.
    Image image(6, 6, PAPER);
    image.plot(3, 4, Colour::GREEN);
    image.copyRegion(image, Colour::WHITE, 2, 2, 5, 6);
    ASSERT_EQ(image.getWidth(), 3u);
    ASSERT_EQ(image.getHeight(), 4u);
    EXPECT_EQ(image.getPixel(1, 2), Colour::GREEN);
    EXPECT_EQ(image.getPixel(0, 0), PAPER);
}
