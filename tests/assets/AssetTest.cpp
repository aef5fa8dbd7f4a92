// The committed pictures and music, read the way the game reads them: every
// picture loads through lum::ImageFile at the size the game draws, sprites
// keyed with magenta around their content, backgrounds free of the key colour
// and dark where text is drawn on them; every music file opens through the
// sound layer and is heard.
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageFile.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundSystem.h"
#include "tests/sound/DiskAudio.h"

#include <algorithm>

namespace {

using namespace lum::test;

const lum::Colour key(255, 0, 255, 255);

lum::Image load(const std::string& name) {
    lum::Image image;
    lum::ImageFile(std::string(ASSETS) + "/" + name).load(image);
    return image;
}

long keyed(const lum::Image& image) {
    return std::count(image.getPixels(), image.getPixels() + image.getPixelCount(), key);
}

TEST(Assets, SpritesAreKeyedAroundTheirContentAndFoodGrowsWithItsWorth) {
    long previous = 0;
    for (const std::string name : {"snakeHead.bmp", "snakeBit.bmp", "food1.bmp", "food2.bmp", "food3.bmp", "food4.bmp",
                                   "food5.bmp"}) {
        SCOPED_TRACE(name);
        const lum::Image image = load(name);
        const unsigned int size = name[0] == 's' ? 10 : 30;
        ASSERT_EQ(std::make_pair(image.getWidth(), image.getHeight()), std::make_pair(size, size));
        // The top corners are left out.
        EXPECT_TRUE(image.getPixel(0, size - 1) == key && image.getPixel(size - 1, size - 1) == key);
        const long covered = static_cast<long>(size * size) - keyed(image);
        EXPECT_GE(covered, size == 10 ? 80 : 100);
        EXPECT_GT(covered, previous);
        previous = size == 10 ? 0 : covered;
    }
}

TEST(Assets, BackgroundsCoverTheScreenAndLeaveTheTextReadable) {
    const lum::Image field = load("gameBackground.bmp"), menu = load("mainMenu.bmp");
    for (const lum::Image* image : {&field, &menu}) {
        ASSERT_EQ(std::make_pair(image->getWidth(), image->getHeight()), std::make_pair(800u, 600u));
        EXPECT_EQ(keyed(*image), 0); // a key pixel would show the clear colour through
    }
    // Dark under the bright green score line (y about 570 to 575) and under
    // the menu's white and red lines, centred at y = 400, 300 and 200.
    for (unsigned int y = 556; y < 596; y += 3)
        for (unsigned int x = 0; x < 800; x += 7) EXPECT_LT(field.getPixel(x, y).getGreen(), 60) << x << ", " << y;
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
    for (const std::string name : {"MenuMusic.mp3", "GameMusic.mp3", "GameMusic2.mp3"}) {
        lum::Sound* music = system.createSound(std::string(ASSETS) + "/" + name);
        ASSERT_NE(music, nullptr) << name;
        const long start = framesWritten();
        EXPECT_NE(system.playSound(music), nullptr) << name;
        EXPECT_FALSE(allSilent(heard(start, 1.5))) << name;
        music->release();
    }
    EXPECT_EQ(warnings(), std::vector<std::string>{});
}

} // namespace
