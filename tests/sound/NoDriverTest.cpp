// No audio driver at all (the test runs with a driver name that does not
// exist): every system opens silent and usable, with one warning for the run.
#include "framework/sound/Sound.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"
#include "tests/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

using namespace soundtest;

namespace {

// The menu's and a match's use of the layer, as they make it.
void visit(lum::SoundSystem& system, const std::string& fileName, lum::Sound::Mode mode) {
    system.init(32);
    lum::Sound* music = system.createSound(fileName);
    if (music) music->setMode(mode);
    lum::SoundChannel* channel = system.playSound(music);
    EXPECT_EQ(channel, nullptr);
    system.update();
    if (music) music->release();
}

TEST(SoundWithoutDriver, SystemsOpenSilentWithOneWarning) {
    StderrCapture errors;
    lum::SoundSystem menu;
    visit(menu, fixture("tone.mp3"), lum::Sound::LOOP_NORMAL);
    EXPECT_TRUE(menu.isOpen());
    EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
    menu.close();

    for (int match = 0; match < 3; ++match) {
        lum::SoundSystem system;
        visit(system, fixture("twoTones.mp3"), lum::Sound::LOOP_OFF);
        EXPECT_TRUE(system.isOpen());
        EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
    }
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);

    const std::vector<std::string> lines = warnings();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("W: No sound: ", 0), 0u) << lines[0];
    EXPECT_EQ(errors.text(), "");
}

} // namespace
