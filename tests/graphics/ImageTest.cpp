// Images as values: bounds, copies and assignment, resizing, opacity, checked
// sizes, the named colours, and the screen: its pixel block and its refusal,
// logged, to change size.
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageImpl.h"
#include "framework/graphics/Screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
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

bool allAre(const Image& image, const Colour& colour) {
    const Colour* pixels = image.getPixels();
    return std::all_of(pixels, pixels + image.getPixelCount(), [&](const Colour& c) { return c == colour; });
}

template <typename Call> std::string refusalOf(Call&& call) {
    try {
        call();
    } catch (const Image::ImageException& error) {
        return error.what();
    }
    return "<accepted>";
}

int linesOfLog(const std::string& text) {
    std::ifstream file("log.txt");
    int count = 0;
    for (std::string line; std::getline(file, line);)
        count += line == text;
    return count;
}

} // namespace

TEST(NamedColours, HaveTheirValuesBeforeAnyDynamicInitialiser) {
    EXPECT_EQ(Colour::BLACK, Colour(0, 0, 0, 255));
    EXPECT_EQ(Colour::WHITE, Colour(255, 255, 255, 255));
    EXPECT_EQ(Colour::RED, Colour(255, 0, 0, 255));
    EXPECT_EQ(Colour::GREEN, Colour(0, 255, 0, 255));
    EXPECT_EQ(Colour::BLUE, Colour(0, 0, 255, 255));
    EXPECT_EQ(Colour::YELLOW, Colour(255, 255, 0, 255));
    EXPECT_EQ(Colour::MAGENTA, Colour(255, 0, 255, 255));
    EXPECT_EQ(greySeenEarly, Colour(127, 127, 127, 255));
}

TEST(ImageBasics, PlotGetPixelAndClearStayInsideTheImage) {
    Image empty;
    EXPECT_EQ(empty.getPixelCount(), 0u);
    EXPECT_EQ(empty.getOpacity(), 255);
    EXPECT_EQ(empty.getTransparentColour(), nullptr);
    empty.plot(0, 0, Colour::RED).clear(Colour::RED);
    EXPECT_EQ(empty.getPixel(0, 0), OPAQUE_BLACK);

    Image image(3, 2, Colour(1, 2, 3, 4));
    image.plot(3, 0, Colour::RED).plot(0, 2, Colour::RED).plot(0xFFFFFFFFu, 1, Colour::RED);
    image.plot(1, 1, Colour(10, 20, 30, 40)); // stored as given, alpha included
    for (unsigned int i = 0; i < 6; ++i)
        EXPECT_EQ(image.getPixels()[i], i == 4 ? Colour(10, 20, 30, 40) : Colour(1, 2, 3, 4)) << i;
    EXPECT_EQ(image.getPixel(3, 0), OPAQUE_BLACK);
    EXPECT_EQ(image.getPixel(0, 2), OPAQUE_BLACK);

    // Clearing fills one stretch and copies it along: sizes around the stretch.
    for (unsigned int width : {1u, 1023u, 1025u, 3001u})
        EXPECT_TRUE(allAre(Image(width, 2, Colour::WHITE).clear(Colour(9, 8, 7, 6)), Colour(9, 8, 7, 6))) << width;
}

TEST(ImageCopies, AreDeepAndTakeOrDropTheTransparentColour) {
    Image source = patternImage(4, 3);
    source.setAlpha(0.5f).setTransparentColour(Colour::MAGENTA);
    Image copy(source);
    copy.plot(0, 0, Colour::RED);
    EXPECT_EQ(source.getPixel(0, 0), patternAt(0, 0));
    EXPECT_EQ(copy.getOpacity(), 127);
    ASSERT_NE(copy.getTransparentColour(), nullptr);
    EXPECT_EQ(*copy.getTransparentColour(), Colour::MAGENTA);

    Image target(2, 2, Colour::WHITE);
    target.setTransparentColour(Colour::GREEN);
    target = copy;
    target.plot(3, 2, Colour::BLUE);
    EXPECT_EQ(copy.getPixel(3, 2), patternAt(3, 2));
    EXPECT_EQ(target.getPixel(0, 0), Colour::RED);
    EXPECT_EQ(target.getOpacity(), 127);
    ASSERT_NE(target.getTransparentColour(), nullptr);
    EXPECT_EQ(*target.getTransparentColour(), Colour::MAGENTA);
    target = patternImage(5, 3); // a source without one drops the target's
    EXPECT_EQ(target.getTransparentColour(), nullptr);
    const Image& alias = target;
    target = alias;
    EXPECT_EQ(target.getPixel(4, 2), patternAt(4, 2));

    lum::Screen screen(4, 3); // a copy of the screen is an ordinary image
    EXPECT_EQ(Image(screen).resize(2, 2).getPixelCount(), 4u);
}

TEST(ImageResize, KeepsTheOverlapAnchoredAtTheOriginOrRefusesTheSize) {
    Image image = patternImage(4, 4);
    image.setAlpha(0.5f).setTransparentColour(Colour::MAGENTA);
    image.resize(2, 6);
    for (unsigned int y = 0; y < 4; ++y)
        for (unsigned int x = 0; x < 2; ++x)
            EXPECT_EQ(image.getPixel(x, y), patternAt(x, y)) << x << "," << y;
    EXPECT_EQ(image.getPixel(1, 5), OPAQUE_BLACK); // newly uncovered
    EXPECT_EQ(image.getOpacity(), 127);
    EXPECT_NE(image.getTransparentColour(), nullptr);
    EXPECT_EQ(Image().resize(2, 2).getPixel(1, 1), OPAQUE_BLACK);

    // Zero and overflowing dimensions are refused and the image is unchanged.
    EXPECT_EQ(refusalOf([&] { image.resize(0, 5); }), "Invalid image dimensions specified: 0 5");
    EXPECT_EQ(refusalOf([&] { image.resize(7, 0); }), "Invalid image dimensions specified: 7 0");
    // Products past 32 bits would wrap to a small block and then be overrun.
    EXPECT_EQ(refusalOf([&] { image.resize(65537, 65536); }), "Invalid image dimensions specified: 65537 65536");
    EXPECT_EQ(refusalOf([] { Image(65536, 65537, Colour::WHITE); }),
              "Invalid image dimensions specified: 65536 65537");
    EXPECT_EQ(Image::checkedPixelCount(65535, 65537), 0xFFFFFFFFu);
    EXPECT_EQ(image.getPixelCount(), 12u);
    EXPECT_EQ(image.getPixel(1, 3), patternAt(1, 3));
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
    EXPECT_TRUE(allAre(screen, OPAQUE_BLACK));
    screen.plot(0, 0, Colour(1, 2, 3, 4)).plot(0, 1, Colour(5, 6, 7, 8));
    const unsigned char* bytes = screen.getPixelData();
    EXPECT_EQ(std::string(bytes, bytes + 4), "\x01\x02\x03\x04");
    EXPECT_EQ(std::string(bytes + 5 * 4, bytes + 5 * 4 + 4), "\x05\x06\x07\x08");
}

TEST(ScreenImage, EveryWayOfResizingItIsRefusedWithALogLine) {
    lum::Screen screen(6, 4);
    std::ostringstream refusal;
    refusal << "E: Image (" << static_cast<const void*>(&screen.getImpl())
            << ") has fixed dimensions and can not be modified";

    screen.resize(10, 10);
    EXPECT_EQ(linesOfLog(refusal.str()), 1);

    // A region copied into the screen is still drawn, at the screen's size.
    Image source(8, 8, Colour::GREEN);
    source.copyRegion(screen, Colour::BLUE, 0, 0, 2, 2);
    EXPECT_EQ(linesOfLog(refusal.str()), 2);
    EXPECT_EQ(screen.getPixel(1, 1), Colour::GREEN);
    EXPECT_EQ(screen.getPixel(5, 3), Colour::BLUE);

    Image& asImage = screen;
    asImage = Image(3, 3, Colour::RED);
    EXPECT_EQ(linesOfLog(refusal.str()), 3);
    EXPECT_EQ(screen.getWidth(), 6u);
    EXPECT_EQ(screen.getPixel(0, 0), Colour::GREEN);
}
