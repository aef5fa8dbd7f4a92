// The sound layer playing real MP3 files through SDL2_mixer into the disk audio
// driver, whose output file holds every mixed sample: what is heard while
// playing, paused, muted, resumed, ended and looping, the count of open systems, and
// what happens with files that cannot be played. (A game with no audio driver
// at all is the end-to-end test of bad assets.)
#include "framework/sound/Sound.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"
#include "tests/sound/DiskAudio.h"

#include <algorithm>

namespace {

using namespace lum::test;

// Output that may already be mixed, or still in flight to the file, when a
// call returns: a device buffer, the file's write buffer and some slack.
constexpr long settleFrames = framesPerSecond / 4;

// `seconds` of samples from the first sound on, or fewer when the output ends
// sooner; none when it is all silent.
Samples opening(const Samples& samples, double seconds) {
    const auto onset = std::find_if(samples.begin(), samples.end(), [](std::int16_t sample) { return sample != 0; });
    return Samples(onset, onset + std::min<long>(samples.end() - onset, frames(seconds)));
}

// Pitch in Hz from the zero crossings, with hysteresis against the decoder's
// low-level noise.
double pitch(const Samples& samples) {
    int side = 0, crossings = 0;
    for (const std::int16_t sample : samples) {
        const int now = sample > 2000 ? 1 : sample < -2000 ? -1 : side;
        crossings += side != 0 && now != side;
        side = now;
    }
    return crossings / 2.0 * framesPerSecond / static_cast<double>(samples.size());
}

// twoTones.mp3 plays 440 Hz for 0.4 s, then 1320 Hz to 3 s.
constexpr double toneSeconds = 0.5;  // tone.mp3, 660 Hz

struct SoundPlayback : ::testing::Test {
    SoundPlayback() { system.init(32); }
    lum::Sound* load(const std::string& name, lum::Sound::Mode mode) {
        lum::Sound* sound = system.createSound(SOUND_FIXTURES "/" + name);
        if (sound) sound->setMode(mode);
        return sound;
    }
    lum::SoundSystem system;
};

TEST_F(SoundPlayback, PausedMusicIsSilentAndResumesWhereItStopped) {
    // A paused start waits, silent, for the resume, then begins at the start.
    lum::SoundChannel* channel = system.playSound(load("twoTones.mp3", lum::Sound::LOOP_OFF), true);
    ASSERT_TRUE(channel && channel->isPlaying() && channel->isPaused());
    EXPECT_TRUE(allSilent(heard(framesWritten(), 0.5)));
    long at = framesWritten();
    channel->setPaused(false);
    EXPECT_NEAR(pitch(opening(heard(at, 0.4), 0.1)), 440.0, 30.0);

    // Paused past the low opening, inside the high part, which lasts to 3 s.
    ASSERT_TRUE(eventually([&] { return channel->getPosition() > 0.6; }));
    channel->setPaused(true);
    const double pausedAt = channel->getPosition();
    EXPECT_TRUE(allSilent(heard(framesWritten() + settleFrames, 0.5)));
    EXPECT_DOUBLE_EQ(channel->getPosition(), pausedAt);
    at = framesWritten();
    channel->setPaused(false);
    EXPECT_NEAR(pitch(opening(heard(at, 0.4), 0.05)), 1320.0, 60.0); // a restart would be low
}

// Muted, the music plays on unheard and is heard again where it has got to,
// not from its start; music started while muted is silent as well.
TEST_F(SoundPlayback, MutedMusicPlaysOnUnheardAndUnmutedGoesOnFromThere) {
    lum::SoundChannel* channel = system.playSound(load("twoTones.mp3", lum::Sound::LOOP_OFF));
    ASSERT_NE(channel, nullptr);
    lum::SoundSystem::setMuted(true);
    EXPECT_TRUE(allSilent(heard(framesWritten() + settleFrames, 0.5)));
    // Past the low opening while unheard, inside the high part.
    ASSERT_TRUE(eventually([&] { return channel->getPosition() > 0.6; }));
    long at = framesWritten();
    lum::SoundSystem::setMuted(false);
    EXPECT_NEAR(pitch(opening(heard(at, 0.4), 0.05)), 1320.0, 60.0); // a restart would be low

    lum::SoundSystem::setMuted(true);
    at = framesWritten() + settleFrames;
    ASSERT_TRUE(eventually([&] { return framesWritten() >= at; }));
    ASSERT_NE(system.playSound(load("tone.mp3", lum::Sound::LOOP_NORMAL)), nullptr);
    EXPECT_TRUE(allSilent(heard(at, 0.5)));
    lum::SoundSystem::setMuted(false);
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
    channel->setPaused(false); // a resume after the end brings nothing back
    EXPECT_FALSE(channel->isPlaying());
    EXPECT_TRUE(allSilent(heard(endedAt + settleFrames, 0.5)));
}

TEST_F(SoundPlayback, LoopingMusicRepeatsWithoutASeam) {
    const long start = framesWritten();
    ASSERT_NE(system.playSound(load("tone.mp3", lum::Sound::LOOP_NORMAL)), nullptr);
    // Four passes over the loop point, from a start within half a second;
    // every 660 Hz period keeps its height: no window of one is quiet.
    const Samples loops = opening(heard(start, 2.5), 4 * toneSeconds - 0.05);
    ASSERT_EQ(long(loops.size()), frames(4 * toneSeconds - 0.05));
    for (auto at = loops.begin(); at + framesPerSecond / 600 <= loops.end(); at += framesPerSecond / 600) {
        const auto [low, high] = std::minmax_element(at, at + framesPerSecond / 600);
        ASSERT_GT(std::max(-int(*low), int(*high)), 8000) << at - loops.begin();
    }
}

TEST_F(SoundPlayback, OpenSystemsAreCounted) {
    {
        lum::SoundSystem second;
        second.init(32);
        second.init(32); // already open: counted once
        EXPECT_EQ(lum::SoundSystem::openSystems(), 2);
        EXPECT_EQ(system.playSound(second.createSound(SOUND_FIXTURES "/tone.mp3")), nullptr); // not this system's sound
    } // not closed by its owner: its destructor does
    EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
    system.close();
    system.close();
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
    EXPECT_EQ(lum::AudioDevice::users(), 0);
}

TEST(SoundFailure, UnplayableFilesGiveOneWarningEachAndTheSystemStaysUsable) {
    std::ofstream("text.mp3", std::ios::binary) << "These are the notes of a song, not the song.\n";
    const std::vector<std::string> names = {"no-such-music.mp3", "text.mp3"};

    testing::internal::CaptureStderr();
    lum::SoundSystem system;
    system.init(32);
    for (const std::string& name : names) EXPECT_EQ(system.createSound(name), nullptr) << name;
    EXPECT_EQ(system.createSound(names[0]), nullptr); // named once only
    const long at = framesWritten();
    EXPECT_NE(system.playSound(system.createSound(SOUND_FIXTURES "/tone.mp3")), nullptr);
    EXPECT_FALSE(allSilent(heard(at, 0.3)));
    system.close();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    const std::vector<std::string> lines = warnings();
    ASSERT_EQ(lines.size(), names.size());
    for (std::size_t index = 0; index < names.size(); ++index)
        EXPECT_NE(lines[index].find("\"" + names[index] + "\""), std::string::npos) << lines[index];
}

} // namespace
