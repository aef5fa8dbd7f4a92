// The whole program run in-process on the headless platform: scripted keys, a
// fake clock, the states as the user meets them, and the frames they draw.
#include "ScriptedRun.h"

#include "framework/TimerImpl.h"
#include "framework/graphics/Font.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"
#include "game/aiController.h"
#include "game/gameState.h"
#include "game/playerController.h"
#include "game/spriteFile.h"
#include "shell/gameOver.h"
#include "shell/gamePaused.h"
#include "shell/mainMenu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

const char* const FONT_FILE = "C:\\Windows\\Fonts\\cour.ttf";
using Phase = ScriptedRun::Phase;

int timersInUse() {
    int count = 0;
    for (unsigned int slot = 0; slot < lum::TimerImpl::SLOTS; ++slot) {
        if (lum::TimerImpl::inSlot(slot) != nullptr) ++count;
    }
    return count;
}

bool listening(lum::IKeyEvent* listener) {
    for (const auto& entry : lum::application.getImpl().getKeyListeners().getEntries()) {
        if (entry.listener == listener && entry.active && !entry.removed) return true;
    }
    return false;
}

std::string logText() {
    std::ifstream file("log.txt", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool samePixels(const lum::Image& a, const lum::Image& b) {
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight()) return false;
    return std::equal(a.getPixels(), a.getPixels() + a.getPixelCount(), b.getPixels());
}

void drawCentred(lum::Image& target, const lum::Font& font, const lum::Colour& colour, const std::string& text,
                 int centreY) {
    const lum::FontSize size = font.measureText(text);
    font.drawText(target, 400 - static_cast<int>(size.width / 2), centreY - static_cast<int>(size.height / 2), colour,
                  text);
}

// A two-player match that the player ends by running into the top wall after
// 31 frames, the food's only piece moved far from both snakes first.
void crashIntoTheTopWall(ScriptedRun& run) {
    run.then(ScriptedRun::until("menu"))
        .then(ScriptedRun::startMatch(false))
        .then(ScriptedRun::until("main"))
        .then(ScriptedRun::act([](ScriptedRun& r) {
            ASSERT_NE(r.play->foodManager.first, nullptr);
            r.play->foodManager.first->x = 700;
            r.play->foodManager.first->y = 50;
        }))
        .then(ScriptedRun::until("game_over"));
}

class GameFlowTest : public ::testing::Test {
protected:
    ScriptedRun run;
};

TEST_F(GameFlowTest, TheFirstFrameIsTheMenuWithPlayGameHighlighted) {
    std::unique_ptr<lum::Image> first;
    run.onFrame = [&first](const lum::Screen& screen) {
        if (!first) first.reset(new lum::Image(screen));
    };
    run.then(ScriptedRun::until("menu")).then(ScriptedRun::frames(1)).then(ScriptedRun::press({lum::KEY_ESCAPE}));
    testing::internal::CaptureStderr();
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(first);

    lum::Image expected(800, 600, lum::Colour(0, 0, 0, 255));
    lum::Image background;
    spriteFile::load(background, "mainMenu.bmp");
    expected.drawImage(background, 0, 0, 800, 600, 0, 0);
    lum::Font big(FONT_FILE, 32);
    lum::Font small(FONT_FILE, 16);
    drawCentred(expected, big, lum::Colour(255, 51, 51, 255), "> Play Game <", 400);
    drawCentred(expected, small, lum::Colour(255, 255, 255, 255), "Set One Player", 300);
    drawCentred(expected, small, lum::Colour(255, 255, 255, 255), "Exit Game", 200);
    EXPECT_TRUE(samePixels(*first, expected));
    const lum::Colour highlight(255, 51, 51, 255);
    EXPECT_GT(std::count(first->getPixels(), first->getPixels() + first->getPixelCount(), highlight), 50);
}

TEST_F(GameFlowTest, ATwoPlayerMatchEndsOnTheGameOverScreenAndLeadsBackToTheMenu) {
    std::uint64_t framesAtStart = 0;
    int matchFrames = 0;
    crashIntoTheTopWall(run);
    run.then(ScriptedRun::act([&](ScriptedRun& r) {
           EXPECT_EQ(r.play->playerSnake.head->y, 610);
           EXPECT_EQ(r.over->resultLine(), "Computer has won with 0 points.");
           EXPECT_EQ(r.over->winner, &r.play->computerSnake);
           // Nothing of the match is left running.
           EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
           EXPECT_EQ(r.play->playerSnake.control, nullptr);
           EXPECT_EQ(r.play->computerSnake.control, nullptr);
           EXPECT_EQ(timersInUse(), 2); // the food's clock and the pause screen's snake
           framesAtStart = r.app.getFramesPresented();
       }))
        .then(ScriptedRun::frames(1))
        .then(ScriptedRun::press({lum::KEY_SPACE}))
        .then(ScriptedRun::until("menu"))
        .then(ScriptedRun::act([&](ScriptedRun& r) {
            matchFrames = static_cast<int>(r.app.getFramesPresented() - framesAtStart);
            EXPECT_EQ(lum::SoundSystem::openSystems(), 1); // the menu's music again
            ASSERT_NE(r.menu->menuMusic, nullptr);
            EXPECT_EQ(r.menu->selectedItem, mainMenu::PLAY_GAME);
        }))
        .then(ScriptedRun::press({lum::KEY_DOWN, lum::KEY_DOWN, lum::KEY_SPACE}));
    testing::internal::CaptureStderr();
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_GE(matchFrames, 1);
    EXPECT_EQ(run.phasesDone(), 11u);

    const std::string log = logText();
    EXPECT_NE(log.find("I: main is ready to become the active state."), std::string::npos);
    EXPECT_NE(log.find("I: game_over is ready to become the active state."), std::string::npos);
    EXPECT_NE(log.find("I: menu is ready to become the active state."), std::string::npos);
}

TEST_F(GameFlowTest, TabPausesTheMatchAndResumingCarriesOnWhereItStopped) {
    struct {
        int x, y, direction, computerX, computerY;
        unsigned int seconds;
        double music;
    } atPause{};
    int backdropStartY = -1;
    run.onFrame = [&](const lum::Screen&) {
        if (backdropStartY < 0 && run.activeName() == "pause") {
            EXPECT_EQ(run.pause->backdropSnake.head->x, 0);
            backdropStartY = run.pause->backdropSnake.head->y;
        }
    };
    run.then(ScriptedRun::until("menu"))
        .then(ScriptedRun::startMatch(true))
        .then(ScriptedRun::until("main"))
        .then(ScriptedRun::playFrames(90))
        .then(ScriptedRun::press({lum::KEY_TAB}))
        .then(ScriptedRun::until("pause"))
        .then(ScriptedRun::act([&](ScriptedRun& r) {
            const snake& s = r.play->playerSnake;
            atPause = {s.head->x, s.head->y, s.direction, 0, 0, r.play->secondsLeft, 0.0};
            EXPECT_TRUE(r.play->paused);
            EXPECT_FALSE(r.play->countdown->isRunning());
            EXPECT_FALSE(listening(r.play->playerControl));
            ASSERT_NE(r.play->channel, nullptr);
            EXPECT_TRUE(r.play->channel->isPaused());
            atPause.music = r.play->channel->getPosition();
            // Keys meant for the match do nothing now.
            r.app.queueKeyPress(s.direction == snake::UP ? lum::KEY_LEFT : lum::KEY_UP);
            r.app.queueKeyPress(lum::KEY_TAB);
        }))
        .then(ScriptedRun::frames(180))
        .then(ScriptedRun::act([&](ScriptedRun& r) {
            const snake& s = r.play->playerSnake;
            EXPECT_EQ(s.head->x, atPause.x);
            EXPECT_EQ(s.head->y, atPause.y);
            EXPECT_EQ(s.direction, atPause.direction);
            EXPECT_EQ(r.play->secondsLeft, atPause.seconds);
            EXPECT_EQ(r.activeName(), "pause");
            EXPECT_DOUBLE_EQ(r.play->channel->getPosition(), atPause.music);
            EXPECT_NE(r.pause->backdropSnake.head->y, backdropStartY); // the backdrop went on
        }))
        .then(ScriptedRun::press({lum::KEY_SPACE}))
        .then(ScriptedRun::until("main"))
        .then(ScriptedRun::act([&](ScriptedRun& r) {
            const snake& s = r.play->playerSnake;
            EXPECT_EQ(s.head->x, atPause.x);
            EXPECT_EQ(s.head->y, atPause.y);
            EXPECT_EQ(r.play->secondsLeft, atPause.seconds);
            EXPECT_FALSE(r.play->paused);
            EXPECT_TRUE(r.play->countdown->isRunning());
            EXPECT_TRUE(listening(r.play->playerControl));
            EXPECT_FALSE(r.play->channel->isPaused());
            EXPECT_GE(r.play->channel->getPosition(), atPause.music);
        }))
        .then(ScriptedRun::playFrames(125))
        .then(ScriptedRun::act([&](ScriptedRun& r) {
            // The countdown goes on from the second it had reached.
            EXPECT_EQ(r.play->secondsLeft, atPause.seconds - 2);
            EXPECT_GT(r.play->playerSnake.head->x + r.play->playerSnake.head->y, 0);
        }))
        .then(ScriptedRun::press({lum::KEY_TAB}))
        .then(ScriptedRun::until("pause"))
        .then(ScriptedRun::press({lum::KEY_DOWN, lum::KEY_SPACE}));
    testing::internal::CaptureStderr();
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(run.phasesDone(), 17u);
    EXPECT_EQ(backdropStartY, 10); // from the bottom-left corner, climbing
}

TEST_F(GameFlowTest, F1HandsThePlayersSnakeToTheComputer) {
    run.timeLimitSeconds = 600;
    playerController* handedOver = nullptr;
    run.then(ScriptedRun::until("menu"))
        .then(ScriptedRun::startMatch(false))
        .then(ScriptedRun::until("main"))
        .then(ScriptedRun::press({lum::KEY_F1}))
        .then(ScriptedRun::frames(2))
        .then(ScriptedRun::act([&](ScriptedRun& r) {
            handedOver = r.play->playerControl;
            EXPECT_EQ(r.play->playerSnake.name, "Computer");
            EXPECT_NE(dynamic_cast<aiController*>(r.play->playerSnake.control), nullptr);
            EXPECT_FALSE(listening(handedOver));
            EXPECT_EQ(timersInUse(), 4);
            r.app.queueKeyPress(lum::KEY_TAB);
        }))
        .then(ScriptedRun::frames(2))
        .then(ScriptedRun::act([](ScriptedRun& r) { EXPECT_EQ(r.activeName(), "main"); }))
        .then(ScriptedRun::until("game_over"))
        .then(ScriptedRun::act([](ScriptedRun& r) {
            EXPECT_EQ(r.over->resultLine().rfind("Computer has won with ", 0), 0u) << r.over->resultLine();
            EXPECT_EQ(timersInUse(), 2);
            EXPECT_EQ(r.play->playerControl, nullptr);
        }))
        .then(ScriptedRun::press({lum::KEY_ESCAPE}));
    testing::internal::CaptureStderr();
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(run.phasesDone(), 11u);
    EXPECT_NE(handedOver, nullptr);
}

TEST_F(GameFlowTest, EscapeReleasedOnTheGameOverScreenEndsTheProgram) {
    crashIntoTheTopWall(run);
    run.then(ScriptedRun::releaseOnly(lum::KEY_ESCAPE));
    testing::internal::CaptureStderr();
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(run.phasesDone(), 6u);
}

TEST_F(GameFlowTest, ExitGameOnTheGameOverScreenEndsTheProgram) {
    crashIntoTheTopWall(run);
    run.then(ScriptedRun::press({lum::KEY_DOWN, lum::KEY_SPACE}));
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(run.phasesDone(), 6u);
}

TEST_F(GameFlowTest, EscapeOnThePauseScreenEndsTheProgram) {
    run.then(ScriptedRun::until("menu"))
        .then(ScriptedRun::startMatch(false))
        .then(ScriptedRun::until("main"))
        .then(ScriptedRun::frames(5))
        .then(ScriptedRun::press({lum::KEY_TAB}))
        .then(ScriptedRun::until("pause"))
        .then(ScriptedRun::pressOnly(lum::KEY_ESCAPE));
    testing::internal::CaptureStderr();
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(run.phasesDone(), 7u);
    // The paused match's controllers and music went with the program.
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
    EXPECT_EQ(timersInUse(), 0);
}

} // namespace
