// No audio driver at all (the test runs with a driver name that does not
// exist): every system opens silent and usable, with one warning for the run.
#include "framework/sound/SoundSystem.h"
#include "tests/sound/SoundTestSupport.h"

namespace {

TEST(SoundWithoutDriver, SystemsOpenSilentWithOneWarning) {
    testing::internal::CaptureStderr();
    // Visits to the menu and matches, one after another, as they use the layer.
    for (int visit = 0; visit < 4; ++visit) {
        lum::SoundSystem system;
        system.init(32);
        EXPECT_TRUE(system.isOpen());
        EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
        EXPECT_EQ(system.createSound(SOUND_FIXTURES "/tone.mp3"), nullptr);
        system.close();
    }
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const std::vector<std::string> lines = soundtest::warnings();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("W: No sound: ", 0), 0u) << lines[0];
}

} // namespace
