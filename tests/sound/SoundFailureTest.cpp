// Music files that cannot be played: the system says so in one log line per
// file, keeps quiet on standard error and stays usable.
#include "framework/sound/Sound.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"
#include "tests/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

using namespace soundtest;

namespace {

void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

std::string randomBytes(std::size_t count) {
    std::mt19937 random(20240611);
    std::string bytes;
    for (std::size_t index = 0; index < count; ++index) bytes += static_cast<char>(random() & 0xff);
    return bytes;
}

TEST(SoundFailure, MissingFileGivesOneWarningAndTheSystemStaysUsable) {
    StderrCapture errors;
    lum::SoundSystem system;
    system.init(32);
    EXPECT_EQ(system.createSound("no-such-music.mp3"), nullptr);
    EXPECT_EQ(system.createSound("no-such-music.mp3"), nullptr);
    EXPECT_EQ(system.playSound(nullptr), nullptr);
    system.update();

    lum::Sound* music = system.createSound(fixture("tone.mp3"));
    ASSERT_NE(music, nullptr);
    lum::SoundChannel* channel = system.playSound(music);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->isPlaying());
    system.close();

    const std::vector<std::string> lines = warnings();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("\"no-such-music.mp3\""), std::string::npos) << lines[0];
    EXPECT_EQ(errors.text(), "");
}

TEST(SoundFailure, BrokenFilesGiveOneWarningEachAndNoNoise) {
    writeFile("empty.mp3", "");
    writeFile("text.mp3", "These are the notes of a song, not the song.\n");
    writeFile("noise.mp3", randomBytes(6000));
    // A real header followed by nothing playable.
    writeFile("tagOnly.mp3", std::string("ID3\x03\x00\x00\x00\x00\x00\x10", 10) + std::string(16, '\0'));
    const std::vector<std::string> names = {"empty.mp3", "text.mp3", "noise.mp3", "tagOnly.mp3"};

    StderrCapture errors;
    lum::SoundSystem system;
    system.init(32);
    for (const std::string& name : names) EXPECT_EQ(system.createSound(name), nullptr) << name;
    EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
    system.close();
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);

    const std::vector<std::string> lines = warnings();
    ASSERT_EQ(lines.size(), names.size());
    for (std::size_t index = 0; index < names.size(); ++index) {
        EXPECT_NE(lines[index].find("\"" + names[index] + "\""), std::string::npos) << lines[index];
    }
    EXPECT_EQ(errors.text(), "");
}

TEST(SoundFailure, UnopenedSystemPlaysNothing) {
    lum::SoundSystem system;
    EXPECT_FALSE(system.isOpen());
    EXPECT_EQ(system.createSound(fixture("tone.mp3")), nullptr);
    system.update();
    system.close();
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
}

} // namespace
