// Screenshots on the headless platform: where the XDG rule puts them, how they
// are named, and that F12 saves exactly the frame presented last.
#include "tests/spine/SpineSupport.h"

#include "framework/PicturesFolder.h"
#include "framework/Screenshot.h"
#include "framework/graphics/ImageFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace lum::test {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable (null unsets it) for its lifetime.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name(name) {
        const char* old = std::getenv(name);
        if (old != nullptr) saved.reset(new std::string(old));
        set(value);
    }
    ~ScopedVariable() { set(saved ? saved->c_str() : nullptr); }

private:
    void set(const char* value) {
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
        tzset();
    }
    const char* name;
    std::unique_ptr<std::string> saved;
};

// A home in the test's folder whose user-dirs.dirs holds `line`.
fs::path homeWith(const std::string& line) {
    const fs::path home = fs::current_path() / "home";
    fs::remove_all(home);
    fs::create_directories(home / ".config");
    fs::create_directories(home / "Pictures");
    std::ofstream(home / ".config/user-dirs.dirs") << "# written by xdg-user-dirs-update\n" << line << "\n";
    return home;
}

TEST(PicturesFolder, TheXdgRuleWithTheWorkingDirectoryAsItsFallback) {
    const fs::path home = homeWith("XDG_PICTURES_DIR=\"$HOME/Pictures/\"");
    const ScopedVariable homeVariable("HOME", home.c_str());
    const ScopedVariable unset("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(PicturesFolder::find(), (home / "Pictures").string());
    homeWith("XDG_PICTURES_DIR=\"$HOME/Missing\"");
    EXPECT_EQ(PicturesFolder::find(), "");
    homeWith("XDG_PICTURES_DIR=\"$HOME/\""); // the user turned the folder off
    EXPECT_EQ(PicturesFolder::find(), "");
    // XDG_CONFIG_HOME wins over ~/.config; an absolute path is taken as it is.
    fs::create_directories("config");
    std::ofstream("config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"" << (home / "Pictures").string() << "\"\n";
    const ScopedVariable config("XDG_CONFIG_HOME", (fs::current_path() / "config").c_str());
    EXPECT_EQ(PicturesFolder::find(), (home / "Pictures").string());
}

// 1796691723 is 2026-12-08 01:02:03 UTC.
TEST(Screenshot, NamedForTheProgramAndTheLocalTimeWithASuffixWhenTaken) {
    const ScopedVariable zone("TZ", "UTC0");
    EXPECT_EQ(Screenshot::prefix("Vellorin Two/3"), "vellorin-two-3");
    fs::remove_all("shots");
    fs::create_directories("shots");
    const lum::Image picture(4, 2, lum::Colour(9, 8, 7, 255));
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) paths.push_back(Screenshot::save(picture, "shots", "vellorin", 1796691723));
    EXPECT_EQ(paths, (std::vector<std::string>{"shots/vellorin-20261208-010203.bmp",
                                                "shots/vellorin-20261208-010203-2.bmp",
                                                "shots/vellorin-20261208-010203-3.bmp"}));
    EXPECT_EQ(thrown<ImageFile::ImageFileException>([&] { Screenshot::save(picture, "missing", "v", 0); }),
              "Unable to open missing/v-19700101-000000.bmp for saving image data to.");
}

// Between frames the screen holds the frame presented last, a different
// picture each frame here; F12 saves that one, logs the file's name and still
// reaches the listeners.
TEST(Screenshot, F12SavesTheFramePresentedLastInThePicturesFolder) {
    const fs::path home = homeWith("XDG_PICTURES_DIR=\"$HOME/Pictures\"");
    const ScopedVariable homeVariable("HOME", home.c_str());
    const ScopedVariable unset("XDG_CONFIG_HOME", nullptr);
    platform().reset();
    Journal journal;
    Recorder menu("menu", journal);
    unsigned char shade = 0;
    menu.renderHook = [&shade] {
        unsigned char* bytes = application.getImpl().getScreen()->getPixelData();
        for (std::size_t i = 0; i < 800 * 600 * 4; ++i) bytes[i] = i % 4 == 3 ? 255 : static_cast<unsigned char>(i + shade);
        shade += 85;
    };
    std::vector<lum::Image> shown;
    platform().onPresent = [&shown](const lum::Screen& screen) { shown.emplace_back(screen); };
    menu.updateHook = [&menu] { application.addKeyListener(menu); };
    platform().onStep = [pressed = false](lum::HeadlessAppImpl& headless) mutable {
        if (headless.getFramesPresented() == 2 && !pressed) headless.queueKeyPress(lum::KEY_F12), pressed = true;
        if (headless.getFramesPresented() == 3) application.exit();
    };
    application.addState("menu", menu);
    const LogTail log;
    run();
    platform().reset();

    std::vector<fs::path> saved(fs::directory_iterator(home / "Pictures"), fs::directory_iterator());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].filename().string().rfind("vellorin-", 0), 0u);
    lum::Image picture;
    lum::ImageFile(saved[0].string()).load(picture);
    ASSERT_TRUE(picture.getWidth() == 800 && picture.getHeight() == 600 && shown.size() >= 3);
    EXPECT_TRUE(std::equal(picture.getPixels(), picture.getPixels() + 800 * 600, shown[1].getPixels()));
    EXPECT_FALSE(std::equal(picture.getPixels(), picture.getPixels() + 800 * 600, shown[2].getPixels()));
    EXPECT_EQ(log.count("I: Screenshot saved as " + saved[0].string() + "."), 1u);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "menu:139+"), 1);
}

} // namespace
} // namespace lum::test
