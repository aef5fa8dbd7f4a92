// Screenshots on the headless platform: their names, and F12 saving exactly
// the frame presented last where the XDG rule puts pictures. Each test runs
// in a process and a folder of its own, so the environment is its to change.
#include "tests/spine/SpineSupport.h"

#include "framework/Screenshot.h"
#include "framework/graphics/ImageFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace lum::test {
namespace {

namespace fs = std::filesystem;

// 1796691723 is 2026-12-08 01:02:03 UTC; the second picture of that second
// takes the suffix.
TEST(Screenshot, NamedForTheProgramAndTheLocalTimeWithASuffixWhenTaken) {
    setenv("TZ", "UTC0", 1);
    fs::remove_all("shots"); // from an earlier run
    fs::create_directories("shots");
    const Image picture(4, 2, Colour(0, 0, 0, 255));
    Screenshot::save(picture, "shots", "vellorin", 1796691723);
    EXPECT_EQ(Screenshot::save(picture, "shots", Screenshot::prefix("Vellorin"), 1796691723),
              "shots/vellorin-20261208-010203-2.bmp");
    EXPECT_EQ(Screenshot::prefix("Two Words/3"), "two-words-3");
}

// Each frame draws a different picture; F12 saves the one on screen, logs
// the file's name and still reaches the listeners.
TEST(Screenshot, F12SavesTheFramePresentedLastInThePicturesFolder) {
    fs::remove_all("Pictures");
    fs::create_directories(".config");
    fs::create_directories("Pictures");
    std::ofstream(".config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n";
    setenv("HOME", fs::current_path().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    Journal journal;
    Recorder menu("menu", journal);
    std::vector<Image> shown;
    menu.renderHook = [&shown] {
        unsigned char* bytes = application.getImpl().getScreen()->getPixelData();
        for (std::size_t i = 0; i < 800 * 600 * 4; ++i) bytes[i] = i % 4 == 3 ? 255 : (i + 85 * shown.size()) % 256;
    };
    platform().onPresent = [&shown](const Screen& screen) { shown.emplace_back(screen); };
    platform().onStep = [pressed = false](HeadlessAppImpl& headless) mutable {
        if (headless.getFramesPresented() == 2 && !pressed) headless.queueKeyPress(KEY_F12), pressed = true;
        if (headless.getFramesPresented() == 3) application.exit();
    };
    menu.activateHook = [&menu] { application.addKeyListener(menu); };
    application.addState("menu", menu);
    const LogTail log;
    run();

    const std::vector<fs::path> saved(fs::directory_iterator(fs::current_path() / "Pictures"), fs::directory_iterator{});
    ASSERT_EQ(saved.size(), 1u);
    Image picture;
    ImageFile(saved[0].string()).load(picture);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_TRUE(picture.getWidth() == 800 && std::equal(shown[1].getPixels(), shown[1].getPixels() + 800 * 600,
                                                        picture.getPixels()));
    EXPECT_EQ(log.count("I: Screenshot saved as " + saved[0].string() + "."), 1u);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "menu:139+"), 1);
}

} // namespace
} // namespace lum::test
