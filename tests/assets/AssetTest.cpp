// The committed pictures and music, read the way the game reads them: every
// picture loads through lum::ImageFile at the size the game draws, sprites
// keyed with magenta around their content, backgrounds free of the key colour,
// the score line's strip dark enough for its green text; every music file
// opens through the sound layer and is heard.
#include "framework/graphics/Colour.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageFile.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"
#include "tests/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const lum::Colour key(255, 0, 255, 255);

lum::Image load(const std::string& name) {
    lum::Image image;
    lum::ImageFile(std::string(ASSETS) + "/" + name).load(image);
    return image;
}

long keyed(const lum::Image& image) {
    long count = 0;
    for (unsigned int y = 0; y < image.getHeight(); ++y) {
        for (unsigned int x = 0; x < image.getWidth(); ++x) count += image.getPixel(x, y) == key;
    }
    return count;
}

// Transparent in its top corners, and at least `minimum` pixels to see.
long expectSprite(const std::string& name, unsigned int size, long minimum) {
    SCOPED_TRACE(name);
    const lum::Image image = load(name);
    EXPECT_EQ(image.getWidth(), size);
    EXPECT_EQ(image.getHeight(), size);
    if (image.getWidth() != size || image.getHeight() != size) return 0;
    EXPECT_EQ(image.getPixel(0, size - 1), key);
    EXPECT_EQ(image.getPixel(size - 1, size - 1), key);
    const long covered = static_cast<long>(size * size) - keyed(image);
    EXPECT_GE(covered, minimum);
    return covered;
}

TEST(Assets, SpritesAreKeyedAndGrowWithTheirWorth) {
    expectSprite("snakeHead.bmp", 10, 80);
    expectSprite("snakeBit.bmp", 10, 80);
    long previousCovered = 0;
    for (int value = 1; value <= 5; ++value) {
        const std::string name = "food" + std::to_string(value) + ".bmp";
        const long covered = expectSprite(name, 30, 100);
        EXPECT_GT(covered, previousCovered) << name;
        previousCovered = covered;
    }
    EXPECT_NE(load("snakeHead.bmp").getPixel(3, 5), load("snakeBit.bmp").getPixel(3, 5));
}

TEST(Assets, BackgroundsCoverTheScreenAndLeaveTheTextReadable) {
    for (const std::string name : {"gameBackground.bmp", "mainMenu.bmp"}) {
        SCOPED_TRACE(name);
        const lum::Image image = load(name);
        ASSERT_EQ(image.getWidth(), 800u);
        ASSERT_EQ(image.getHeight(), 600u);
        EXPECT_EQ(keyed(image), 0); // a key pixel would show the clear colour through
    }
    // The score line is bright green (20, 255, 20) around y = 570 to 575.
    const lum::Image field = load("gameBackground.bmp");
    for (unsigned int y = 556; y < 596; y += 3) {
        for (unsigned int x = 0; x < 800; x += 7) {
            const lum::Colour pixel = field.getPixel(x, y);
            EXPECT_LT(pixel.getGreen(), 60) << x << ", " << y;
        }
    }
    // The menu's lines are white and red, centred at y = 400, 300 and 200.
    const lum::Image menu = load("mainMenu.bmp");
    for (unsigned int y = 180; y < 420; y += 5) {
        for (unsigned int x = 220; x < 580; x += 9) {
            const lum::Colour pixel = menu.getPixel(x, y);
            EXPECT_LT(pixel.getRed() + pixel.getGreen() + pixel.getBlue(), 150) << x << ", " << y;
        }
    }
}

TEST(Assets, MusicOpensAndIsHeard) {
    lum::SoundSystem system;
    system.init(32);
    soundtest::DiskOutput output;
    for (const std::string name : {"MenuMusic.mp3", "GameMusic.mp3", "GameMusic2.mp3"}) {
        SCOPED_TRACE(name);
        lum::Sound* music = system.createSound(std::string(ASSETS) + "/" + name);
        ASSERT_NE(music, nullptr);
        const long start = output.frames();
        lum::SoundChannel* channel = system.playSound(music);
        ASSERT_NE(channel, nullptr);
        ASSERT_TRUE(output.waitFor(start + soundtest::frames(1.5)));
        EXPECT_FALSE(soundtest::allSilent(output.left(start, start + soundtest::frames(1.5))));
        music->release();
    }
    EXPECT_TRUE(soundtest::warnings().empty());
}

} // namespace
