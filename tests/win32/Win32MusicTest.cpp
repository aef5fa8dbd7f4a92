// The sound layer's music on MCI, played for real under Wine into a device
// that discards the samples: a looping piece starts again each time it has
// played through, after a pause and resume as well, and only a notice from
// the current piece's own device, posted since it last started, restarts it.
// The notices arrive through the message pump, served one message at a time
// as the Win32 platform's step serves it. Playing takes wall-clock time:
// every wait is bounded, and none lasts much beyond a piece.
#include "framework/sound/Sound.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

constexpr double toneSeconds = 0.5; // tone.mp3; twoTones.mp3 lasts 3 s

void handleOneMessage() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) return;
    }
    GetMessageA(&message, nullptr, 0, 0);
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void handleQueuedMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) handleOneMessage();
}

// Until the condition holds, doing `step` between looks; false after five seconds.
template <typename Condition>
bool waitFor(Condition condition, void (*step)() = handleOneMessage) {
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (!condition() && GetTickCount64() < deadline) step();
    return condition();
}

// A main loop busy elsewhere handles no message meanwhile.
void busy() { Sleep(10); }

HWND notifyWindow() { return FindWindowExA(HWND_MESSAGE, nullptr, "lum_MusicNotify", nullptr); }

bool noticeQueued() {
    MSG message;
    return PeekMessageA(&message, notifyWindow(), MM_MCINOTIFY, MM_MCINOTIFY, PM_NOREMOVE) != 0;
}

struct Win32Music : ::testing::Test {
    Win32Music() { system.init(32); }
    lum::SoundChannel* playLooping(const std::string& name) {
        lum::Sound* sound = system.createSound(name);
        if (!sound) return nullptr;
        sound->setMode(lum::Sound::LOOP_NORMAL);
        return system.playSound(sound);
    }
    // Played into its second half, back to its opening, and on again.
    static void expectLoops(lum::SoundChannel& channel) {
        for (const bool late : {true, false, true}) {
            EXPECT_TRUE(waitFor([&] {
                return late == (channel.getPosition() >= 0.6 * toneSeconds);
            })) << (late ? "never reaches its second half" : "never starts again");
        }
        EXPECT_TRUE(channel.isPlaying());
    }
    lum::SoundSystem system;
};

// Played on; paused midway for a while and resumed; or paused just after it
// played through, before the main loop heard of it: each time it starts again.
TEST_F(Win32Music, LoopingPieceStartsAgainEachTimeItPlaysThroughAlsoAfterAPause) {
    for (const std::string pause : {"played on", "paused midway", "paused as it ended"}) {
        SCOPED_TRACE(pause);
        lum::SoundChannel* channel = playLooping("tone.mp3");
        ASSERT_TRUE(channel) << "no audio device or no MP3 decoder under Wine";
        if (pause == "paused midway") {
            ASSERT_TRUE(waitFor([&] { return channel->getPosition() >= 0.4 * toneSeconds; }));
            channel->setPaused(true);
            const double at = channel->getPosition();
            Sleep(300);
            handleQueuedMessages();
            EXPECT_NEAR(channel->getPosition(), at, 0.05);
            channel->setPaused(false);
        } else if (pause == "paused as it ended") {
            ASSERT_TRUE(waitFor(noticeQueued, busy));
            channel->setPaused(true);
            handleQueuedMessages();
            channel->setPaused(false);
        }
        expectLoops(*channel);
    }
}

// The menu's piece plays through just as the match replaces it (its device
// number may well go to the match's piece), and another device reports too:
// neither notice restarts the match's piece.
TEST_F(Win32Music, NoticesOfAReplacedPieceOrAnotherDeviceLeaveTheCurrentPieceAlone) {
    ASSERT_TRUE(playLooping("tone.mp3"));
    ASSERT_TRUE(waitFor(noticeQueued, busy));
    system.close();
    system.init(32);
    lum::SoundChannel* channel = playLooping("twoTones.mp3");
    ASSERT_TRUE(channel);
    ASSERT_EQ(mciSendStringA("open tone.mp3 type mpegvideo alias other", nullptr, 0, nullptr), 0u);
    ASSERT_TRUE(waitFor([&] { return channel->getPosition() >= 0.3; }, busy));
    const double before = channel->getPosition();
    PostMessageA(notifyWindow(), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, mciGetDeviceIDA("other"));
    handleQueuedMessages();
    EXPECT_GE(channel->getPosition(), before) << "started again";
    mciSendStringA("close other", nullptr, 0, nullptr);
}

} // namespace
