// The sound layer playing real MP3 files through SDL2_mixer into the disk audio
// driver, whose output file holds every mixed sample: what is heard while
// playing, paused, resumed, ended, looping, released, closed and taken over.
#include "framework/sound/Sound.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"
#include "tests/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

using namespace soundtest;

namespace {

constexpr double lowPitch = 440.0;  // the first 0.4 s of twoTones.mp3
constexpr double highPitch = 1320.0; // the rest of it, from 0.4 s to 3 s
constexpr double toneSeconds = 0.5;  // tone.mp3, 660 Hz

class SoundPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        system.init(32);
        ASSERT_TRUE(output.waitFor(1)) << "the disk audio driver writes nothing";
    }

    lum::Sound* load(const std::string& name, lum::Sound::Mode mode) {
        lum::Sound* sound = system.createSound(fixture(name));
        if (sound) sound->setMode(mode);
        return sound;
    }

    // Frames from `from` up to `seconds` of output later, once written.
    std::vector<std::int16_t> heard(long from, double seconds) {
        EXPECT_TRUE(output.waitFor(from + frames(seconds)));
        return output.left(from, from + frames(seconds));
    }

    // Waits out what was mixed before the call that ended at `at`, then
    // returns `seconds` of what follows.
    std::vector<std::int16_t> heardAfter(long at, double seconds) { return heard(at + settleFrames, seconds); }

    lum::SoundSystem system;
    DiskOutput output;
};

TEST_F(SoundPlayback, PausedMusicIsSilentAndResumesWhereItStopped) {
    lum::Sound* music = load("twoTones.mp3", lum::Sound::LOOP_OFF);
    ASSERT_NE(music, nullptr);
    const long start = output.frames();
    lum::SoundChannel* channel = system.playSound(music);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->isPlaying());
    EXPECT_FALSE(channel->isPaused());

    // Past the low opening, inside the high part, which lasts to 3 s.
    ASSERT_TRUE(eventually([&] { return channel->getPosition() > 0.6; }));
    channel->setPaused(true);
    const long pausedAt = output.frames();
    const double pausedPosition = channel->getPosition();
    EXPECT_LT(pausedPosition, 2.9);
    EXPECT_FALSE(allSilent(output.left(start, pausedAt)));
    EXPECT_TRUE(channel->isPaused());
    EXPECT_TRUE(channel->isPlaying());

    EXPECT_TRUE(allSilent(heardAfter(pausedAt, 0.5)));
    EXPECT_DOUBLE_EQ(channel->getPosition(), pausedPosition);

    const long resumedAt = output.frames();
    channel->setPaused(false);
    EXPECT_FALSE(channel->isPaused());
    const std::vector<std::int16_t> resumed = heard(resumedAt, 0.4);
    const long onset = firstSound(resumed);
    ASSERT_GE(onset, 0) << "nothing heard after the resume";
    // A restart would open with the low tone.
    const std::vector<std::int16_t> first(resumed.begin() + onset, resumed.begin() + onset + frames(0.05));
    EXPECT_NEAR(pitch(first), highPitch, 60.0);
    EXPECT_GE(channel->getPosition(), pausedPosition);
}

TEST_F(SoundPlayback, PausedStartWaitsForTheResumeAndBeginsAtTheStart) {
    lum::Sound* music = load("twoTones.mp3", lum::Sound::LOOP_OFF);
    ASSERT_NE(music, nullptr);
    const long start = output.frames();
    lum::SoundChannel* channel = system.playSound(music, true);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->isPlaying());
    EXPECT_TRUE(channel->isPaused());
    EXPECT_TRUE(allSilent(heard(start, 0.5)));

    const long resumedAt = output.frames();
    channel->setPaused(false);
    const std::vector<std::int16_t> resumed = heard(resumedAt, 0.4);
    const long onset = firstSound(resumed);
    ASSERT_GE(onset, 0);
    const std::vector<std::int16_t> first(resumed.begin() + onset, resumed.begin() + onset + frames(0.1));
    EXPECT_NEAR(pitch(first), lowPitch, 30.0);
}

TEST_F(SoundPlayback, PlayOnceEndsAfterItsLengthAndStaysSilent) {
    lum::Sound* music = load("tone.mp3", lum::Sound::LOOP_OFF);
    ASSERT_NE(music, nullptr);
    const long start = output.frames();
    lum::SoundChannel* channel = system.playSound(music);
    ASSERT_NE(channel, nullptr);
    ASSERT_TRUE(eventually([&] { return !channel->isPlaying(); }));
    const long endedAt = output.frames();

    // The encoded half second is heard once: no encoder padding, no repeat
    // (the mixer drops the last few milliseconds of a single play).
    std::vector<std::int16_t> played = heard(start, (endedAt + settleFrames - start) / double(framesPerSecond));
    const long onset = firstSound(played);
    ASSERT_GE(onset, 0);
    long last = static_cast<long>(played.size()) - 1;
    while (last > onset && played[last] == 0) --last;
    EXPECT_NEAR((last - onset) / double(framesPerSecond), toneSeconds, 0.03);

    EXPECT_TRUE(allSilent(heardAfter(endedAt, 0.5)));
    EXPECT_FALSE(channel->isPlaying());
    channel->setPaused(false);
    EXPECT_TRUE(allSilent(heardAfter(output.frames(), 0.2)));
}

TEST_F(SoundPlayback, LoopingMusicRepeatsWithoutASeam) {
    lum::Sound* music = load("tone.mp3", lum::Sound::LOOP_NORMAL);
    ASSERT_NE(music, nullptr);
    const long start = output.frames();
    lum::SoundChannel* channel = system.playSound(music);
    ASSERT_NE(channel, nullptr);

    const std::vector<std::int16_t> played = heard(start, 2.5);
    const long onset = firstSound(played);
    ASSERT_GE(onset, 0);
    ASSERT_LT(onset, frames(0.5));
    // Four passes over the loop point; every 660 Hz period keeps its height.
    const std::vector<std::int16_t> loops(played.begin() + onset, played.begin() + onset + frames(4 * toneSeconds - 0.05));
    EXPECT_GT(lowestPeak(loops, framesPerSecond / 600), 8000);
    EXPECT_TRUE(channel->isPlaying());
}

TEST_F(SoundPlayback, ReleaseAndCloseStopTheMusic) {
    lum::Sound* music = load("tone.mp3", lum::Sound::LOOP_NORMAL);
    ASSERT_NE(music, nullptr);
    lum::SoundChannel* channel = system.playSound(music);
    ASSERT_NE(channel, nullptr);
    EXPECT_FALSE(allSilent(heard(output.frames(), 0.2)));
    music->release();
    EXPECT_FALSE(channel->isPlaying());
    EXPECT_TRUE(allSilent(heardAfter(output.frames(), 0.3)));

    music = load("tone.mp3", lum::Sound::LOOP_NORMAL);
    channel = system.playSound(music);
    ASSERT_NE(channel, nullptr);
    EXPECT_FALSE(allSilent(heard(output.frames(), 0.2)));
    system.close();
    EXPECT_FALSE(channel->isPlaying());
    // A finished match's channel is resumed by mistake: nothing comes back.
    channel->setPaused(false);
    EXPECT_FALSE(channel->isPlaying());
    EXPECT_EQ(system.playSound(music), nullptr);
}

TEST_F(SoundPlayback, NewerPlayTakesTheStreamOverAndSystemsAreCounted) {
    EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
    lum::SoundChannel* first = system.playSound(load("tone.mp3", lum::Sound::LOOP_NORMAL));
    ASSERT_NE(first, nullptr);
    {
        lum::SoundSystem second;
        second.init(32);
        second.init(32); // already open: counted once
        EXPECT_EQ(lum::SoundSystem::openSystems(), 2);
        EXPECT_EQ(lum::AudioDevice::users(), 2);
        lum::Sound* music = second.createSound(fixture("twoTones.mp3"));
        const long at = output.frames();
        lum::SoundChannel* channel = second.playSound(music);
        ASSERT_NE(channel, nullptr);
        EXPECT_FALSE(first->isPlaying());
        EXPECT_TRUE(channel->isPlaying());

        // The replaced channel no longer reaches the stream: the new music
        // goes on into its high part.
        first->setPaused(true);
        EXPECT_FALSE(channel->isPaused());
        const std::vector<std::int16_t> later = heard(at, 1.0);
        EXPECT_NEAR(pitch(std::vector<std::int16_t>(later.end() - frames(0.2), later.end())), highPitch, 60.0);
        // A sound of one system does not play on another.
        EXPECT_EQ(system.playSound(music), nullptr);
        second.close();
        second.close();
        EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
    }
    EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
    system.close();
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
    EXPECT_EQ(lum::AudioDevice::users(), 0);
    {
        lum::SoundSystem unclosed;
        unclosed.init(32);
        EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
    }
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
}

} // namespace
