// The sound layer playing real MP3 files through SDL2_mixer into the disk audio
// driver, whose output file holds every mixed sample: what is heard while
// playing, paused, resumed, ended, looping, released, closed and taken over,
// and what happens with files that cannot be played.
#include "framework/sound/Sound.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"
#include "tests/sound/SoundTestSupport.h"

#include <random>

using namespace soundtest;

namespace {

constexpr double lowPitch = 440.0;   // the first 0.4 s of twoTones.mp3
constexpr double highPitch = 1320.0; // the rest of it, from 0.4 s to 3 s
constexpr double toneSeconds = 0.5;  // tone.mp3, 660 Hz

class SoundPlayback : public ::testing::Test {
protected:
    void SetUp() override { system.init(32); }

    lum::Sound* load(const std::string& name, lum::Sound::Mode mode) {
        lum::Sound* sound = system.createSound(SOUND_FIXTURES "/" + name);
        if (sound) sound->setMode(mode);
        return sound;
    }

    lum::SoundSystem system;
};

TEST_F(SoundPlayback, PausedMusicIsSilentAndResumesWhereItStopped) {
    // A paused start waits, silent, for the resume, then begins at the start.
    long at = framesWritten();
    lum::SoundChannel* channel = system.playSound(load("twoTones.mp3", lum::Sound::LOOP_OFF), true);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->isPlaying() && channel->isPaused());
    EXPECT_TRUE(allSilent(heard(at, 0.5)));
    at = framesWritten();
    channel->setPaused(false);
    EXPECT_NEAR(pitch(opening(heard(at, 0.4), 0.1)), lowPitch, 30.0);

    // Paused past the low opening, inside the high part, which lasts to 3 s.
    ASSERT_TRUE(eventually([&] { return channel->getPosition() > 0.6; }));
    channel->setPaused(true);
    const double pausedAt = channel->getPosition();
    EXPECT_LT(pausedAt, 2.9);
    EXPECT_TRUE(allSilent(heard(framesWritten() + settleFrames, 0.5)));
    EXPECT_DOUBLE_EQ(channel->getPosition(), pausedAt);
    at = framesWritten();
    channel->setPaused(false);
    EXPECT_NEAR(pitch(opening(heard(at, 0.4), 0.05)), highPitch, 60.0); // a restart would be low
    EXPECT_GE(channel->getPosition(), pausedAt);
}

TEST_F(SoundPlayback, PlayOnceEndsAfterItsLengthAndStaysSilent) {
    const long start = framesWritten();
    lum::SoundChannel* channel = system.playSound(load("tone.mp3", lum::Sound::LOOP_OFF));
    ASSERT_NE(channel, nullptr);
    ASSERT_TRUE(eventually([&] { return !channel->isPlaying(); }));
    const long endedAt = framesWritten();

    // The encoded half second is heard once: no encoder padding, no repeat
    // (the mixer drops the last few milliseconds of a single play).
    Samples played = opening(heard(start, double(endedAt + settleFrames - start) / framesPerSecond), 10);
    while (!played.empty() && played.back() == 0) played.pop_back();
    EXPECT_NEAR(double(played.size()) / framesPerSecond, toneSeconds, 0.03);
    EXPECT_TRUE(allSilent(heard(endedAt + settleFrames, 0.5)));
    channel->setPaused(false); // a resume after the end brings nothing back
    EXPECT_FALSE(channel->isPlaying());
    EXPECT_TRUE(allSilent(heard(framesWritten() + settleFrames, 0.2)));
}

TEST_F(SoundPlayback, LoopingMusicRepeatsWithoutASeam) {
    const long start = framesWritten();
    lum::SoundChannel* channel = system.playSound(load("tone.mp3", lum::Sound::LOOP_NORMAL));
    ASSERT_NE(channel, nullptr);
    // Four passes over the loop point, from a start within half a second;
    // every 660 Hz period keeps its height.
    const Samples loops = opening(heard(start, 2.5), 4 * toneSeconds - 0.05);
    ASSERT_EQ(static_cast<long>(loops.size()), frames(4 * toneSeconds - 0.05));
    EXPECT_GT(lowestPeak(loops, framesPerSecond / 600), 8000);
    EXPECT_TRUE(channel->isPlaying());
}

TEST_F(SoundPlayback, ReleaseAndCloseStopTheMusic) {
    for (bool closing : {false, true}) {
        lum::Sound* music = load("tone.mp3", lum::Sound::LOOP_NORMAL);
        lum::SoundChannel* channel = system.playSound(music);
        ASSERT_NE(channel, nullptr);
        EXPECT_FALSE(allSilent(heard(framesWritten(), 0.2)));
        closing ? system.close() : music->release();
        EXPECT_FALSE(channel->isPlaying());
        channel->setPaused(false); // a finished match's channel resumed by mistake
        EXPECT_FALSE(channel->isPlaying());
        EXPECT_TRUE(allSilent(heard(framesWritten() + settleFrames, 0.3)));
    }
}

TEST_F(SoundPlayback, NewerPlayTakesTheStreamOverAndSystemsAreCounted) {
    lum::SoundChannel* first = system.playSound(load("tone.mp3", lum::Sound::LOOP_NORMAL));
    ASSERT_NE(first, nullptr);
    {
        lum::SoundSystem second;
        second.init(32);
        second.init(32); // already open: counted once
        EXPECT_EQ(lum::SoundSystem::openSystems(), 2);
        EXPECT_EQ(lum::AudioDevice::users(), 2);
        lum::Sound* music = second.createSound(SOUND_FIXTURES "/twoTones.mp3");
        const long at = framesWritten();
        lum::SoundChannel* channel = second.playSound(music);
        ASSERT_NE(channel, nullptr);
        EXPECT_FALSE(first->isPlaying());
        // The replaced channel no longer reaches the stream: the new music
        // goes on into its high part.
        first->setPaused(true);
        const Samples later = heard(at, 1.0);
        EXPECT_NEAR(pitch(Samples(later.end() - frames(0.2), later.end())), highPitch, 60.0);
        EXPECT_EQ(system.playSound(music), nullptr); // a sound of one system does not play on another
    } // not closed by its owner: its destructor does
    EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
    system.close();
    system.close();
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
    EXPECT_EQ(lum::AudioDevice::users(), 0);
}

TEST(SoundFailure, UnplayableFilesGiveOneWarningEachAndTheSystemStaysUsable) {
    std::ofstream("empty.mp3", std::ios::binary);
    std::ofstream("text.mp3", std::ios::binary) << "These are the notes of a song, not the song.\n";
    std::string noise(6000, '\0');
    std::generate(noise.begin(), noise.end(), std::mt19937(20240611)); // the low byte of each draw
    std::ofstream("noise.mp3", std::ios::binary) << noise;
    // A real header followed by nothing playable.
    std::ofstream("tagOnly.mp3", std::ios::binary) << std::string("ID3\x03\0\0\0\0\0\x10", 10) << std::string(16, '\0');
    const std::vector<std::string> names = {"no-such-music.mp3", "empty.mp3", "text.mp3", "noise.mp3", "tagOnly.mp3"};

    testing::internal::CaptureStderr();
    lum::SoundSystem unopened, system;
    EXPECT_EQ(unopened.createSound(SOUND_FIXTURES "/tone.mp3"), nullptr);
    system.init(32);
    for (const std::string& name : names) EXPECT_EQ(system.createSound(name), nullptr) << name;
    EXPECT_EQ(system.createSound(names[0]), nullptr); // named once only
    EXPECT_EQ(system.playSound(nullptr), nullptr);
    const long at = framesWritten();
    lum::SoundChannel* channel = system.playSound(system.createSound(SOUND_FIXTURES "/tone.mp3"));
    EXPECT_TRUE(channel != nullptr && channel->isPlaying());
    EXPECT_FALSE(allSilent(heard(at, 0.3)));
    system.close();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    const std::vector<std::string> lines = warnings();
    ASSERT_EQ(lines.size(), names.size());
    for (std::size_t index = 0; index < names.size(); ++index) {
        EXPECT_NE(lines[index].find("\"" + names[index] + "\""), std::string::npos) << lines[index];
    }
}

} // namespace
