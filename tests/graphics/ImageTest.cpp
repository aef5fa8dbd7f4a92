// Images as values: bounds, copies and assignment, resizing, opacity, the
// named colours, and the screen: its pixel block and its logged refusal to
// change size.
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageAccess.h"
#include "framework/graphics/Screen.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

using lum::Colour;
using lum::Image;

namespace {

const Colour OPAQUE_BLACK(0, 0, 0, 255);

// Read during this file's dynamic initialisation: only constant-initialised
// named colours are certain to hold their values here.
const Colour greySeenEarly = Colour::GREY;

Image patternImage(unsigned int width, unsigned int height) {
    Image image(width, height, OPAQUE_BLACK);
    for (unsigned int i = 0; i < width * height; ++i)
        image.getPixels()[i] = Colour(std::uint8_t(i), 1, 2, std::uint8_t(200 + i));
    return image;
}

std::string refusalOf(unsigned int width, unsigned int height, Image& image) try {
    image.resize(width, height);
    return "<accepted>";
} catch (const Image::ImageException& error) {
    return error.what();
}

} // namespace

TEST(ImageBasics, NamedColoursPlotAndGetPixelStayInsideTheImage) {
    EXPECT_EQ(greySeenEarly, Colour(127, 127, 127, 255));
    Image empty;
    empty.plot(0, 0, Colour::RED).clear(Colour::RED);
    EXPECT_EQ(empty.getPixel(0, 0), OPAQUE_BLACK);
    Image image(3, 2, Colour(1, 2, 3, 4));
    image.plot(3, 0, Colour::RED).plot(0, 2, Colour::RED).plot(0xFFFFFFFFu, 1, Colour::RED);
    image.plot(1, 1, Colour(10, 20, 30, 40)); // stored as given, alpha included
    for (unsigned int i = 0; i < 6; ++i)
        EXPECT_EQ(image.getPixels()[i], i == 4 ? Colour(10, 20, 30, 40) : Colour(1, 2, 3, 4)) << i;
    EXPECT_EQ(image.getPixel(3, 0), OPAQUE_BLACK);
}

TEST(ImageCopies, AreDeepAndTakeOrDropTheTransparentColour) {
    Image source = patternImage(4, 3);
    source.setAlpha(0.5f).setTransparentColour(Colour::MAGENTA);
    Image copy(source);
    copy.plot(0, 0, Colour::RED);
    Image target(2, 2, Colour::WHITE);
    target.setTransparentColour(Colour::GREEN);
    target = copy;
    target.plot(3, 2, Colour::BLUE);
    EXPECT_EQ(source.getPixel(0, 0), patternImage(4, 3).getPixel(0, 0));
    EXPECT_EQ(copy.getPixel(3, 2), source.getPixel(3, 2));
    EXPECT_EQ(target.getPixel(0, 0), Colour::RED);
    EXPECT_EQ(target.getOpacity(), 127);
    EXPECT_TRUE(target.getTransparentColour() && *target.getTransparentColour() == Colour::MAGENTA);
    target = patternImage(5, 3); // a source without one drops the target's
    EXPECT_EQ(target.getTransparentColour(), nullptr);
    const Image& alias = target;
    target = alias;
    EXPECT_EQ(target.getPixel(4, 2), patternImage(5, 3).getPixel(4, 2));
}

TEST(ImageResize, KeepsTheOverlapAnchoredAtTheOriginOrRefusesTheSize) {
    const Image original = patternImage(4, 4);
    Image image = original;
    image.resize(2, 6);
    EXPECT_EQ(image.getPixel(1, 3), original.getPixel(1, 3));
    EXPECT_EQ(image.getPixel(1, 5), OPAQUE_BLACK); // newly uncovered
    // Zero sizes, and products past 32 bits that would wrap to a small block and
    // then be overrun, are refused and leave the image unchanged.
    for (auto [width, height] : {std::pair{0u, 5u}, {7u, 0u}, {65537u, 65536u}})
        EXPECT_EQ(refusalOf(width, height, image), "Invalid image dimensions specified: " + std::to_string(width) +
                                                       " " + std::to_string(height));
    EXPECT_EQ(image.getPixelCount(), 12u);
    EXPECT_EQ(image.getPixel(1, 3), original.getPixel(1, 3));
}

TEST(ImageOpacity, SetAlphaClampsAndTruncates) {
    Image image(1, 1, Colour::WHITE);
    for (auto [alpha, opacity] : {std::pair{-1.0f, 0}, {2.0f, 255}, {0.5f, 127}, {0.999f, 254}, {std::nanf(""), 0}})
        EXPECT_EQ(image.setAlpha(alpha).getOpacity(), opacity) << alpha;
}

TEST(ScreenImage, IsRgbaBytesBottomRowFirstAndRefusesEveryResizeWithALogLine) {
    lum::Screen screen(6, 4);
    EXPECT_EQ(screen.getPixel(5, 3), OPAQUE_BLACK);
    screen.plot(0, 1, Colour(5, 6, 7, 8));
    EXPECT_EQ(std::string(screen.getPixelData() + 6 * 4, screen.getPixelData() + 6 * 4 + 4), "\x05\x06\x07\x08");

    const lum::test::LogTail log;
    std::ostringstream refusal;
    refusal << "\nE: Image (" << static_cast<const void*>(&lum::ImageAccess::of(screen))
            << ") has fixed dimensions and can not be modified";
    screen.resize(10, 10);
    EXPECT_EQ(log.count(refusal.str()), 1u);
    // A region copied into the screen is still drawn, at the screen's size.
    Image(8, 8, Colour::GREEN).copyRegion(screen, Colour::BLUE, 0, 0, 2, 2);
    EXPECT_EQ(log.count(refusal.str()), 2u);
    EXPECT_EQ(screen.getPixel(1, 1), Colour::GREEN);
    EXPECT_EQ(screen.getPixel(5, 3), Colour::BLUE);
    Image& asImage = screen;
    asImage = Image(3, 3, Colour::RED);
    EXPECT_EQ(log.count(refusal.str()), 3u);
    EXPECT_EQ(screen.getWidth(), 6u);
    EXPECT_EQ(Image(screen).resize(2, 2).getPixelCount(), 4u); // a copy is an ordinary image
}
