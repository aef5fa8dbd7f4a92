// Lines, circles and copying a region out of an image.
#include "framework/graphics/Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <random>
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

// The whole walks as the drawing rules describe them, every point plotted
// when it falls inside a width × height image: what the clipped walks must match.
struct FullWalk {
    long long width, height;
    Points points;

    void plot(long long x, long long y) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            points.insert({int(x), int(y)});
    }
    void line(long long x1, long long y1, long long x2, long long y2) {
        if (y1 == y2 || x1 == x2) {
            for (long long y = std::min(y1, y2); y <= std::max(y1, y2); ++y)
                for (long long x = std::min(x1, x2); x <= std::max(x1, x2); ++x)
                    plot(x, y);
            return;
        }
        const long long dx = std::llabs(x2 - x1), dy = std::llabs(y2 - y1), sx = x2 > x1 ? 1 : -1,
                        sy = y2 > y1 ? 1 : -1;
        long long x = x1, y = y1;
        if (dx > dy) {
            for (long long e = 2 * dy - dx; x != x2; e += 2 * dy, x += sx) {
                plot(x, y);
                if (e >= 0) e -= 2 * dx, y += sy;
            }
        } else {
            for (long long e = 2 * dx - dy; y != y2; e += 2 * dx, y += sy) {
                plot(x, y);
                if (e >= 0) e -= 2 * dy, x += sx;
            }
        }
    }
    void circle(long long cx, long long cy, long long r) {
        plot(cx, cy + r), plot(cx, cy - r), plot(cx + r, cy), plot(cx - r, cy);
        if (r <= 0) return;
        for (long long f = 1 - r, ddx = 1, ddy = -2 * r, x = 0, y = r; x < y;) {
            if (f >= 0) y -= 1, ddy += 2, f += ddy;
            x += 1, ddx += 2, f += ddx;
            for (auto [px, py] : {std::pair{x, y}, std::pair{y, x}})
                plot(cx + px, cy + py), plot(cx - px, cy + py), plot(cx + px, cy - py), plot(cx - px, cy - py);
        }
    }
};

} // namespace

TEST(Shapes, ClippedWalksPlotExactlyWhatTheWholeWalksPlotInside) {
    std::mt19937 random(20261207);
    auto any = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    int drawn = 0;
    for (int round = 0; round < 6000; ++round) {
        // Small images; ends and centres around them, now and then far off.
        const int width = any(1, 12), height = any(1, 12), reach = round % 3 == 0 ? 3000 : 25;
        auto coordinate = [&] { return any(-reach, reach); };
        const int x1 = coordinate(), y1 = coordinate(), x2 = coordinate(), y2 = coordinate(), r = any(-2, reach);
        FullWalk line{width, height, {}}, circle{width, height, {}};
        line.line(x1, y1, x2, y2);
        circle.circle(x1, y1, r);
        ASSERT_EQ(inked(Image(width, height, PAPER).drawLine(x1, y1, x2, y2, INK)), line.points)
            << width << "x" << height << " line " << x1 << "," << y1 << " " << x2 << "," << y2;
        ASSERT_EQ(inked(Image(width, height, PAPER).drawCircle(x1, y1, r, INK)), circle.points)
            << width << "x" << height << " circle " << x1 << "," << y1 << " r " << r;
        drawn += !line.points.empty() + !circle.points.empty();
    }
    EXPECT_GT(drawn, 1000); // a good share of the cases touch the image
}

// Lines and circles far larger than the image cost what they touch: each of
// these took seconds to walk in full.
TEST(Shapes, FarLargerShapesThanTheImageAreClippedBeforeTheWalk) {
    EXPECT_EQ(inked(Image(8, 8, PAPER).drawLine(0, 0, INT_MAX, 1, INK)),
              (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}}));
    EXPECT_EQ(inked(Image(8, 8, PAPER).drawLine(INT_MIN, INT_MIN, INT_MAX, INT_MAX - 1, INK)),
              (Points{{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6}})); // half a row behind at x = 0
    EXPECT_EQ(inked(Image(8, 8, PAPER).drawCircle(INT_MAX, INT_MAX, INT_MAX, INK)), Points{});
    // About (2^30, 4) with radius 2^30 the circle runs up the image's left
    // column: near its leftmost point it leaves x = 0 only some 2^15 rows away.
    EXPECT_EQ(inked(Image(8, 8, PAPER).drawCircle(1 << 30, 4, 1 << 30, INK)),
              (Points{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 7}}));
}

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
