// Drawing one image into another: the blending rows, transparency, placement
// at and beyond the edges, mirrored rectangles, source clipping, a randomized
// comparison with the reference model and a golden frame of a composed scene.
#include "framework/graphics/Blitter.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/Screen.h"
#include "tests/graphics/ReferenceDrawing.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

using graphics_test::referenceDraw;
using graphics_test::ruleBlend;
using graphics_test::ruleWeight;
using lum::Colour;
using lum::Image;

namespace {

// A 10 × 10 image whose pixel (x, y) is opaque (x, y, 7).
Image gridImage(unsigned int width, unsigned int height) {
    Image image(width, height, Colour::BLACK);
    for (unsigned int y = 0; y < height; ++y)
        for (unsigned int x = 0; x < width; ++x)
            image.plot(x, y, Colour(std::uint8_t(x), std::uint8_t(y), 7, 255));
    return image;
}

Colour gridAt(unsigned int x, unsigned int y) {
    return Colour(std::uint8_t(x), std::uint8_t(y), 7, 255);
}

const Colour BACKDROP(50, 60, 70, 255);

unsigned int countChanged(const Image& image, const Colour& unchanged) {
    unsigned int changed = 0;
    for (unsigned int y = 0; y < image.getHeight(); ++y)
        for (unsigned int x = 0; x < image.getWidth(); ++x)
            changed += image.getPixel(x, y) != unchanged;
    return changed;
}

Colour drawOnePixel(const Colour& pixel, const Colour& under, float opacity = 1.0f) {
    Image source(1, 1, pixel);
    source.setAlpha(opacity);
    Image target(1, 1, under);
    target.drawImage(source);
    return target.getPixel(0, 0);
}

} // namespace

TEST(WeightTable, HoldsFiveDecimalRoundingsOfIOver255) {
    const auto& weights = lum::Blitter::weights();
    EXPECT_EQ(weights[0], 0.0f);
    EXPECT_EQ(weights[1], 0.00392f);
    EXPECT_EQ(weights[127], 0.49804f);
    EXPECT_EQ(weights[128], 0.50196f);
    EXPECT_EQ(weights[254], 0.99608f);
    EXPECT_EQ(weights[255], 1.0f);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(weights[std::size_t(i)], ruleWeight(i)) << i;
}

TEST(Blending, WorkedExamplesTruncateAndKeepTheTargetAlpha) {
    EXPECT_EQ(drawOnePixel(Colour(200, 100, 0, 128), Colour(0, 0, 0, 255)), Colour(100, 50, 0, 255));
    EXPECT_EQ(drawOnePixel(Colour(9, 8, 7, 255), Colour(1, 2, 3, 40)), Colour(9, 8, 7, 40));
}

TEST(Blending, OneTranslucentPixelAnywhereInAnOpaqueRowIsStillBlended) {
    // Whole opaque rows are copied in bulk; a single exception at any position,
    // first or second colour of a word, body or tail of the row, must be seen.
    for (unsigned int position = 0; position < 21; ++position) {
        Image source(21, 1, Colour(240, 120, 60, 255));
        source.plot(position, 0, Colour(240, 120, 60, 128));
        Image target(21, 1, Colour(20, 40, 80, 255));
        target.drawImage(source);
        for (unsigned int x = 0; x < 21; ++x) {
            const Colour expected = x == position ? ruleBlend(Colour(240, 120, 60, 128), Colour(20, 40, 80, 255), 255)
                                                  : Colour(240, 120, 60, 255);
            ASSERT_EQ(target.getPixel(x, 0), expected) << "translucent pixel at " << position << ", x " << x;
        }

        Image opaque(21, 1, Colour(240, 120, 60, 255));
        Image underneath(21, 1, Colour(20, 40, 80, 255));
        underneath.plot(position, 0, Colour(20, 40, 80, 40));
        underneath.drawImage(opaque);
        for (unsigned int x = 0; x < 21; ++x)
            ASSERT_EQ(underneath.getPixel(x, 0), Colour(240, 120, 60, x == position ? 40 : 255)) << position;
    }
}

TEST(Blending, PartialOpacityAndPartialAlphaRowsFollowTheWeights) {
    // Worked by hand: W[127] = 0.49804, W[128] = 0.50196.
    //   opaque pixel, opacity 127: 200 × 0.49804 + 100 × (1 − 0.49804) = 149.804
    EXPECT_EQ(drawOnePixel(Colour(200, 0, 0, 255), Colour(100, 0, 0, 9), 0.5f).getRed(), 149);
    //   alpha 128, opacity 127: 200 × 0.50196 × 0.49804 + 100 × 0.49804 = 99.80
    //   (the target keeps 1 − W[128], so the pixel darkens what lies beneath)
    EXPECT_EQ(drawOnePixel(Colour(200, 0, 0, 128), Colour(100, 0, 0, 9), 0.5f).getRed(), 99);
    EXPECT_EQ(drawOnePixel(Colour(0, 0, 0, 128), Colour(255, 255, 255, 255), 0.5f), Colour(127, 127, 127, 255));

    // Every alpha against a spread of opacities, values from the formula.
    const Colour under(90, 180, 255, 200);
    for (int opacityStep = 0; opacityStep <= 8; ++opacityStep) {
        const float opacity = opacityStep / 8.0f;
        const std::uint8_t opacityByte = std::uint8_t(opacity * 255.0f);
        if (opacityByte == 0)
            continue;
        for (int alpha = 0; alpha < 256; ++alpha) {
            const Colour pixel(255, 77, 3, std::uint8_t(alpha));
            ASSERT_EQ(drawOnePixel(pixel, under, opacity), ruleBlend(pixel, under, opacityByte))
                << "alpha " << alpha << " opacity " << int(opacityByte);
        }
    }
}

TEST(Blending, FullyTransparentPixelsAndImagesChangeNothing) {
    EXPECT_EQ(drawOnePixel(Colour(255, 255, 255, 0), BACKDROP), BACKDROP);
    EXPECT_EQ(drawOnePixel(Colour(255, 255, 255, 255), BACKDROP, 0.0f), BACKDROP);
    EXPECT_EQ(drawOnePixel(Colour(255, 255, 255, 255), BACKDROP, 0.001f), BACKDROP); // opacity 0
}

TEST(Transparency, KeyColourIsComparedOnAllFourChannels) {
    Image sprite(3, 1, Colour::MAGENTA);
    sprite.plot(1, 0, Colour(255, 0, 255, 254)).plot(2, 0, Colour::GREEN);
    sprite.setTransparentColour(Colour::MAGENTA);
    Image target(3, 1, BACKDROP);
    target.drawImage(sprite);
    EXPECT_EQ(target.getPixel(0, 0), BACKDROP);
    EXPECT_EQ(target.getPixel(1, 0), ruleBlend(Colour(255, 0, 255, 254), BACKDROP, 255));
    EXPECT_NE(target.getPixel(1, 0), BACKDROP);
    EXPECT_EQ(target.getPixel(2, 0), Colour(0, 255, 0, 255));
}

TEST(Placement, DrawingIntoItselfChangesNothing) {
    Image image = gridImage(5, 5);
    const Image before(image);
    image.drawImage(image, 1, 1, 4, 4, 0, 0).drawImage(image);
    EXPECT_TRUE(graphics_test::samePixels(image, before));
}

TEST(Placement, NegativeDestinationDropsTheColumnsAndRowsThatFallOff) {
    const Image sprite = gridImage(10, 10);
    Image target(20, 20, BACKDROP);
    target.drawImage(sprite, 0, 0, 10, 10, -5, 0);
    for (unsigned int y = 0; y < 10; ++y)
        for (unsigned int x = 0; x < 5; ++x)
            ASSERT_EQ(target.getPixel(x, y), gridAt(x + 5, y)) << x << "," << y;
    EXPECT_EQ(countChanged(target, BACKDROP), 50u);

    Image below(20, 20, BACKDROP);
    below.drawImage(sprite, 0, 0, 10, 10, 3, -7);
    EXPECT_EQ(below.getPixel(3, 0), gridAt(0, 7));
    EXPECT_EQ(below.getPixel(12, 2), gridAt(9, 9));
    EXPECT_EQ(countChanged(below, BACKDROP), 30u);

    for (int offset : {-10, -11, INT_MIN}) {
        Image missed(20, 20, BACKDROP);
        missed.drawImage(sprite, 0, 0, 10, 10, offset, 0).drawImage(sprite, 0, 0, 10, 10, 0, offset);
        EXPECT_EQ(countChanged(missed, BACKDROP), 0u) << offset;
    }
}

TEST(Placement, DestinationAtOrBeyondTheFarEdgesDrawsNothingThere) {
    const Image sprite = gridImage(10, 10);
    for (int offset : {20, 21, INT_MAX}) {
        Image target(20, 20, BACKDROP);
        target.drawImage(sprite, 0, 0, 10, 10, offset, 0).drawImage(sprite, 0, 0, 10, 10, 0, offset);
        EXPECT_EQ(countChanged(target, BACKDROP), 0u) << offset;
    }
    Image partly(20, 20, BACKDROP);
    partly.drawImage(sprite, 0, 0, 10, 10, 16, 17);
    EXPECT_EQ(partly.getPixel(19, 19), gridAt(3, 2));
    EXPECT_EQ(countChanged(partly, BACKDROP), 12u);
}

TEST(Placement, FullScreenBackgroundCoversEveryPixelOnce) {
    lum::Screen screen(800, 600);
    Image background(800, 600, Colour::BLACK);
    Colour* pixels = background.getPixels();
    for (unsigned int i = 0; i < background.getPixelCount(); ++i)
        pixels[i] = Colour(std::uint8_t(i), std::uint8_t(i >> 8), std::uint8_t(i >> 16), 255);
    screen.drawImage(background, 0, 0, 800, 600, 0, 0);
    EXPECT_TRUE(graphics_test::samePixels(screen, background));
}

TEST(Mirroring, SecondCornerBelowTheFirstFlipsThatAxis) {
    const Image sprite = gridImage(4, 3);
    Image flipped(4, 3, BACKDROP);
    // Columns 3, 2, 1, 0 and rows 2, 1, 0: the second corner is excluded.
    flipped.drawImage(sprite, 3, 2, -1, -1, 0, 0);
    for (unsigned int y = 0; y < 3; ++y)
        for (unsigned int x = 0; x < 4; ++x)
            ASSERT_EQ(flipped.getPixel(x, y), gridAt(3 - x, 2 - y)) << x << "," << y;

    // Corners given as (width, 0)-(0, height): column 4 does not exist, so the
    // first target column stays as it was and columns 3..1 follow.
    Image shifted(4, 3, BACKDROP);
    shifted.drawImage(sprite, 4, 0, 0, 3, 0, 0);
    EXPECT_EQ(shifted.getPixel(0, 0), BACKDROP);
    EXPECT_EQ(shifted.getPixel(1, 0), gridAt(3, 0));
    EXPECT_EQ(shifted.getPixel(3, 2), gridAt(1, 2));


    // Mirrored with a negative destination: source columns 3, 2, 1, 0 would
    // land on −1, 0, 1, 2, so column 3 is the one dropped.
    const Image strip = gridImage(4, 1);
    Image target(4, 1, BACKDROP);
    target.drawImage(strip, 3, 0, -1, 1, -1, 0);
    EXPECT_EQ(target.getPixel(0, 0), gridAt(2, 0));
    EXPECT_EQ(target.getPixel(1, 0), gridAt(1, 0));
    EXPECT_EQ(target.getPixel(2, 0), gridAt(0, 0));
    EXPECT_EQ(target.getPixel(3, 0), BACKDROP);
}

TEST(SourceClipping, ReadsOnlyTheSourceAndOnlyTheRequestedRectangle) {
    const Image sprite = gridImage(10, 10);
    Image target(20, 20, BACKDROP);
    // Corner (−3, −3) lands on (0, 0), so source pixel (0, 0) lands on (3, 3).
    target.drawImage(sprite, -3, -3, 40, 40, 0, 0);
    EXPECT_EQ(target.getPixel(3, 3), gridAt(0, 0));
    EXPECT_EQ(target.getPixel(12, 12), gridAt(9, 9));
    EXPECT_EQ(countChanged(target, BACKDROP), 100u);

    Image shifted(10, 10, BACKDROP);
    // Columns 2..4 shifted left by 4: every requested column falls off.
    shifted.drawImage(sprite, 2, 0, 5, 10, -4, 0).drawImage(sprite, 0, 2, 10, 5, 0, -4);
    EXPECT_EQ(countChanged(shifted, BACKDROP), 0u);
    shifted.drawImage(sprite, 2, 0, 5, 10, -2, 0);
    EXPECT_EQ(shifted.getPixel(0, 0), gridAt(4, 0));
    EXPECT_EQ(countChanged(shifted, BACKDROP), 10u);
}

// Wild corners and destinations against the reference model; under the
// sanitizers this also shows that nothing outside either block is touched.
TEST(RandomizedDrawing, MatchesTheReferenceModelForAnyCoordinates) {
    std::mt19937 random(20240611u);
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto coordinate = [&](int size) -> int {
        switch (pick(0, 9)) {
        case 0: return INT_MIN + pick(0, 2);
        case 1: return INT_MAX - pick(0, 2);
        case 2: return pick(-100000, 100000);
        default: return pick(-size - 3, 2 * size + 3);
        }
    };
    for (int round = 0; round < 3000; ++round) {
        Image source = graphics_test::noiseImage(unsigned(pick(0, 12)), unsigned(pick(0, 12)), unsigned(round));
        if (pick(0, 2) == 0) // an opaque source takes the plain copy path
            for (unsigned int i = 0; i < source.getPixelCount(); ++i)
                source.getPixels()[i].setAlpha(255);
        if (pick(0, 2) == 0)
            source.setTransparentColour(Colour::MAGENTA);
        if (pick(0, 2) == 0)
            source.setAlpha(float(pick(0, 255)) / 255.0f);
        Image target = graphics_test::noiseImage(unsigned(pick(0, 12)), unsigned(pick(0, 12)), unsigned(round) + 7u);
        if (pick(0, 1) == 0)
            for (unsigned int i = 0; i < target.getPixelCount(); ++i)
                target.getPixels()[i].setAlpha(255);
        Image expected(target);
        const int size = int(source.getWidth() + source.getHeight());
        const int x1 = coordinate(size), y1 = coordinate(size), x2 = coordinate(size), y2 = coordinate(size);
        const int destX = coordinate(size), destY = coordinate(size);
        target.drawImage(source, x1, y1, x2, y2, destX, destY);
        referenceDraw(expected, source, x1, y1, x2, y2, destX, destY);
        ASSERT_TRUE(graphics_test::samePixels(target, expected))
            << "round " << round << ": corners (" << x1 << ", " << y1 << ") (" << x2 << ", " << y2
            << "), destination (" << destX << ", " << destY << ")";
    }
}

// The sprites of the composed frame, drawn by the given drawing function.
template <typename Draw> void composeSprites(Image& screen, Draw draw) {
    Image keyed = graphics_test::noiseImage(10, 10, 2);
    keyed.setTransparentColour(Colour::MAGENTA);
    Image faded = graphics_test::noiseImage(30, 30, 3);
    faded.setAlpha(0.6f);
    Image background = graphics_test::noiseImage(96, 64, 1);
    for (unsigned int i = 0; i < background.getPixelCount(); ++i)
        background.getPixels()[i].setAlpha(255);
    draw(screen, background, 0, 0, 96, 64, 0, 0);
    for (int i = 0; i < 12; ++i)
        draw(screen, keyed, 0, 0, 10, 10, i * 9 - 8, i * 5 - 4);
    draw(screen, faded, 0, 0, 30, 30, 40, 20);
    draw(screen, faded, 29, 29, -1, -1, 70, 45);
    draw(screen, faded, 5, 5, 25, 25, -10, -3);
}

// One composed frame, hashed: any change of a single pixel shows up.
TEST(GoldenFrame, ComposedSceneIsStable) {
    lum::Screen screen(96, 64);
    screen.clear(Colour(10, 20, 30, 255));
    Image expected(screen);
    composeSprites(screen, [](Image& target, const Image& source, int x1, int y1, int x2, int y2, int dx, int dy) {
        target.drawImage(source, x1, y1, x2, y2, dx, dy);
    });
    composeSprites(expected, referenceDraw);
    ASSERT_TRUE(graphics_test::samePixels(screen, expected));
    screen.drawLine(-5, 3, 120, 50, Colour::YELLOW).drawLine(90, -4, 90, 70, Colour(1, 2, 3, 100));
    screen.drawCircle(48, 32, 20, Colour::WHITE).drawCircle(0, 0, 9, Colour::RED);
    EXPECT_EQ(graphics_test::pixelHash(screen), 5970726778674429954ull);
}
