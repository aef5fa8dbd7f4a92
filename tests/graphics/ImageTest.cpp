// Images as values: construction, copies, bounds, resizing, opacity, checked
// sizes, the named colours and the screen's pixel block.
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageImpl.h"
#include "framework/graphics/Screen.h"
#include "tests/graphics/AllocationProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using lum::Colour;
using lum::Image;

namespace {

const Colour OPAQUE_BLACK(0, 0, 0, 255);

// Read during this file's dynamic initialisation: only constant-initialised
// named colours are certain to hold their values here.
const Colour greySeenEarly = Colour::GREY;

Colour patternAt(unsigned int x, unsigned int y) {
    return Colour(std::uint8_t(x), std::uint8_t(y), std::uint8_t(x * 16 + y), std::uint8_t(200 + x));
}

Image patternImage(unsigned int width, unsigned int height) {
    Image image(width, height, OPAQUE_BLACK);
    for (unsigned int y = 0; y < height; ++y)
        for (unsigned int x = 0; x < width; ++x)
            image.plot(x, y, patternAt(x, y));
    return image;
}

} // namespace

TEST(NamedColours, HaveTheirValuesBeforeAnyDynamicInitialiser) {
    EXPECT_EQ(Colour::BLACK, Colour(0, 0, 0, 255));
    EXPECT_EQ(Colour::WHITE, Colour(255, 255, 255, 255));
    EXPECT_EQ(Colour::GREY, Colour(127, 127, 127, 255));
    EXPECT_EQ(Colour::RED, Colour(255, 0, 0, 255));
    EXPECT_EQ(Colour::GREEN, Colour(0, 255, 0, 255));
    EXPECT_EQ(Colour::BLUE, Colour(0, 0, 255, 255));
    EXPECT_EQ(Colour::YELLOW, Colour(255, 255, 0, 255));
    EXPECT_EQ(Colour::MAGENTA, Colour(255, 0, 255, 255));
    EXPECT_EQ(greySeenEarly, Colour(127, 127, 127, 255));
}

TEST(ImageBasics, EmptyImageHasNoPixelsAndIgnoresWrites) {
    Image image;
    EXPECT_EQ(image.getPixelCount(), 0u);
    EXPECT_EQ(image.getPixels(), nullptr);
    EXPECT_EQ(image.getOpacity(), 255);
    EXPECT_EQ(image.getTransparentColour(), nullptr);
    image.plot(0, 0, Colour::RED).clear(Colour::RED);
    EXPECT_EQ(image.getPixel(0, 0), OPAQUE_BLACK);
}

TEST(ImageBasics, SizedImageIsFilledAndBoundsAreKept) {
    Image image(3, 2, Colour(1, 2, 3, 4));
    EXPECT_EQ(image.getPixelCount(), 6u);
    for (unsigned int i = 0; i < 6; ++i)
        EXPECT_EQ(image.getPixels()[i], Colour(1, 2, 3, 4));
    EXPECT_EQ(image.getPixel(3, 0), OPAQUE_BLACK);
    EXPECT_EQ(image.getPixel(0, 2), OPAQUE_BLACK);
    image.plot(3, 0, Colour::RED).plot(0, 2, Colour::RED).plot(0xFFFFFFFFu, 1, Colour::RED);
    image.plot(1, 1, Colour(10, 20, 30, 40)); // stored as given, alpha included
    for (unsigned int i = 0; i < 6; ++i)
        EXPECT_EQ(image.getPixels()[i], i == 4 ? Colour(10, 20, 30, 40) : Colour(1, 2, 3, 4)) << i;
    EXPECT_EQ(Image(0, 5, Colour::RED).getPixelCount(), 0u); // no pixels, not an error
}

TEST(ImageBasics, ClearReachesEveryPixelOfAnySize) {
    for (unsigned int width : {1u, 7u, 1023u, 1025u, 2048u, 3001u}) {
        Image image(width, 2, Colour::WHITE);
        image.clear(Colour(9, 8, 7, 6));
        for (unsigned int i = 0; i < image.getPixelCount(); ++i)
            ASSERT_EQ(image.getPixels()[i], Colour(9, 8, 7, 6)) << width << " wide, pixel " << i;
    }
}

TEST(ImageCopies, CopyIsDeepAndKeepsOpacityAndTransparentColour) {
    Image source = patternImage(4, 3);
    source.setAlpha(0.5f).setTransparentColour(Colour::MAGENTA);
    Image copy(source);
    copy.plot(0, 0, Colour::RED);
    EXPECT_EQ(source.getPixel(0, 0), patternAt(0, 0));
    EXPECT_EQ(copy.getPixel(3, 2), patternAt(3, 2));
    EXPECT_EQ(copy.getOpacity(), 127);
    ASSERT_NE(copy.getTransparentColour(), nullptr);
    EXPECT_EQ(*copy.getTransparentColour(), Colour::MAGENTA);
    EXPECT_NE(copy.getTransparentColour(), source.getTransparentColour());

    lum::Screen screen(4, 3); // a copy of the screen is an ordinary image
    Image fromScreen(screen);
    EXPECT_TRUE(fromScreen.getImpl().isResizable());
    EXPECT_EQ(fromScreen.getImpl().getOwner(), &fromScreen);
}

TEST(ImageCopies, AssignmentCopiesOrDropsTheTransparentColourAndKeepsTheTarget) {
    Image target(2, 2, Colour::WHITE);
    target.setTransparentColour(Colour::MAGENTA);
    lum::ImageImpl* const implBefore = &target.getImpl();
    Image source = patternImage(5, 3);
    source.setAlpha(0.25f);
    target = source;
    EXPECT_EQ(target.getPixelCount(), 15u);
    EXPECT_EQ(target.getPixel(4, 2), patternAt(4, 2));
    EXPECT_EQ(target.getOpacity(), 63);
    EXPECT_EQ(target.getTransparentColour(), nullptr);
    EXPECT_EQ(&target.getImpl(), implBefore);
    EXPECT_EQ(target.getImpl().getOwner(), &target);
    target.plot(0, 0, Colour::RED);
    EXPECT_EQ(source.getPixel(0, 0), patternAt(0, 0));

    source.setTransparentColour(Colour::GREEN);
    target = source;
    ASSERT_NE(target.getTransparentColour(), nullptr);
    EXPECT_EQ(*target.getTransparentColour(), Colour::GREEN);
    const Image& alias = target;
    target = alias;
    EXPECT_EQ(target.getPixel(4, 2), patternAt(4, 2));
}

TEST(ImageResize, KeepsTheOverlapAnchoredAtTheOrigin) {
    Image image = patternImage(4, 4);
    image.setAlpha(0.5f).setTransparentColour(Colour::MAGENTA);
    image.resize(2, 6);
    EXPECT_EQ(image.getPixelCount(), 12u);
    for (unsigned int y = 0; y < 4; ++y)
        for (unsigned int x = 0; x < 2; ++x)
            EXPECT_EQ(image.getPixel(x, y), patternAt(x, y)) << x << "," << y;
    EXPECT_EQ(image.getPixel(1, 5), OPAQUE_BLACK); // newly uncovered
    EXPECT_EQ(image.getOpacity(), 127);
    EXPECT_NE(image.getTransparentColour(), nullptr);
    image.resize(3, 2);
    EXPECT_EQ(image.getPixel(1, 1), patternAt(1, 1));
    EXPECT_EQ(image.getPixel(2, 1), OPAQUE_BLACK);

    Image empty;
    empty.resize(2, 2);
    for (unsigned int i = 0; i < 4; ++i)
        EXPECT_EQ(empty.getPixels()[i], OPAQUE_BLACK);
}

TEST(ImageResize, ZeroDimensionIsRefusedAndTheImageIsUnchanged) {
    Image image = patternImage(4, 4);
    try {
        image.resize(0, 5);
        FAIL() << "resize to 0 x 5 was accepted";
    } catch (const Image::ImageException& error) {
        EXPECT_EQ(std::string(error.what()), "Invalid image dimensions specified: 0 5");
    }
    EXPECT_THROW(image.resize(7, 0), Image::ImageException);
    EXPECT_EQ(image.getPixelCount(), 16u);
    EXPECT_EQ(image.getPixel(3, 3), patternAt(3, 3));
}

TEST(ImageSizeChecks, ProductsBeyondThirtyTwoBitsAreRefusedBeforeAllocating) {
    EXPECT_EQ(Image::checkedPixelCount(0, 0xFFFFFFFFu), 0u);
    EXPECT_EQ(Image::checkedPixelCount(65535, 65537), 0xFFFFFFFFu);
    EXPECT_THROW(Image::checkedPixelCount(65536, 65536), Image::ImageException);
    EXPECT_THROW(Image::checkedPixelCount(0xFFFFFFFFu, 0xFFFFFFFFu), Image::ImageException);

    graphics_test::resetLargestAllocation();
    try {
        Image huge(65536, 65537, Colour::WHITE);
        FAIL() << "a 65536 x 65537 image was built";
    } catch (const Image::ImageException& error) {
        EXPECT_EQ(std::string(error.what()), "Invalid image dimensions specified: 65536 65537");
    }
    Image image = patternImage(3, 3);
    EXPECT_THROW(image.resize(65537, 65536), Image::ImageException);
    // The wrapped count (65536 pixels) would have been allocated and overrun.
    EXPECT_LT(graphics_test::largestAllocation(), std::size_t(4096));
    EXPECT_EQ(image.getPixel(2, 2), patternAt(2, 2));
}

TEST(ImageOpacity, SetAlphaClampsAndTruncates) {
    Image image(1, 1, Colour::WHITE);
    EXPECT_EQ(image.setAlpha(-1.0f).getOpacity(), 0);
    EXPECT_EQ(image.setAlpha(2.0f).getOpacity(), 255);
    EXPECT_EQ(image.setAlpha(0.5f).getOpacity(), 127);
    EXPECT_EQ(image.setAlpha(1.0f).getOpacity(), 255);
    EXPECT_EQ(image.setAlpha(0.999f).getOpacity(), 254);
    EXPECT_EQ(image.setAlpha(std::nanf("")).getOpacity(), 0);
}

TEST(ScreenImage, IsOpaqueBlackRgbaBytesBottomRowFirst) {
    lum::Screen screen(5, 4);
    EXPECT_FALSE(screen.getImpl().isResizable());
    EXPECT_EQ(screen.getImpl().getOwner(), &screen);
    for (unsigned int i = 0; i < screen.getPixelCount(); ++i)
        ASSERT_EQ(screen.getPixels()[i], OPAQUE_BLACK);
    screen.plot(0, 0, Colour(1, 2, 3, 4)).plot(0, 1, Colour(5, 6, 7, 8));
    const unsigned char* bytes = screen.getPixelData();
    EXPECT_EQ(std::string(bytes, bytes + 4), "\x01\x02\x03\x04");
    EXPECT_EQ(std::string(bytes + 5 * 4, bytes + 5 * 4 + 4), "\x05\x06\x07\x08");
}
