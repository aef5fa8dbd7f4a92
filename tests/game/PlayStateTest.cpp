// The play state used directly: starting, pausing, resuming and ending a match,
// the countdown and the food's pace, crash detection and the score line.
#include "FieldFixture.h"

#include "framework/graphics/Screen.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"
#include "game/aiController.h"
#include "game/gameState.h"
#include "game/playerController.h"
#include "shell/gameOver.h"

#include <memory>

namespace {

class PlayStateTest : public FieldFixture {
protected:
    void SetUp() override {
        FieldFixture::SetUp();
        timersBefore = timersInUse();
        play.reset(new gameState());
        over.reset(new gameOver());
        play->gameOverState = over.get();
        over->playerSnake = &play->playerSnake;
        over->computerSnake = &play->computerSnake;
    }

    void TearDown() override {
        play.reset();
        over.reset();
        // The food's clock, the countdown, every controller: all gone.
        EXPECT_EQ(timersInUse(), timersBefore);
        EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
        FieldFixture::TearDown();
    }

    bool hears(lum::IKeyEvent* listener) {
        for (const auto& entry : app.getKeyListeners().getEntries()) {
            if (entry.listener == listener && entry.active && !entry.removed) return true;
        }
        return false;
    }

    // Places a snake's head and its single body segment.
    static void place(snake& s, int headX, int headY, int bodyX, int bodyY, int direction) {
        s.head->x = headX;
        s.head->y = headY;
        s.neck->x = bodyX;
        s.neck->y = bodyY;
        s.direction = direction;
    }

    int timersBefore = 0;
    std::unique_ptr<gameState> play;
    std::unique_ptr<gameOver> over;
};

TEST_F(PlayStateTest, ATwoPlayerMatchStartsAtTheCentreWithBothControllersAndMusic) {
    play->foodManager.maxDelay = 1;
    play->foodManager.onTimer(*play->foodManager.timer);
    play->playerSnake.direction = snake::LEFT;
    play->playerSnake.move();
    over->mode = 1;
    over->winner = &play->computerSnake;

    play->onActivate();
    EXPECT_EQ(play->foodManager.pieceCount, 1u);
    for (snake* s : {&play->playerSnake, &play->computerSnake}) {
        EXPECT_EQ(s->head->x, 400);
        EXPECT_EQ(s->head->y, 300);
        EXPECT_EQ(s->length, 0);
    }
    EXPECT_EQ(play->playerSnake.direction, snake::LEFT); // kept from before
    EXPECT_EQ(play->playerSnake.name, "Player 1");
    EXPECT_EQ(play->computerSnake.name, "Computer");
    EXPECT_NE(dynamic_cast<playerController*>(play->playerSnake.control), nullptr);
    auto* computer = dynamic_cast<aiController*>(play->computerSnake.control);
    ASSERT_NE(computer, nullptr);
    EXPECT_EQ(computer->foodManager, &play->foodManager);
    EXPECT_TRUE(hears(play->playerControl));
    EXPECT_EQ(timersInUse(), timersBefore + 2); // the food's clock and the computer's
    EXPECT_EQ(over->mode, 0);
    EXPECT_EQ(over->winner, nullptr);
    EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
    ASSERT_NE(play->channel, nullptr);
    EXPECT_TRUE(play->channel->isPlaying());
}

TEST_F(PlayStateTest, AOnePlayerMatchCountsDownFrom180AndEndsOneTickAfterZero) {
    play->mode = gameState::ONE_PLAYER;
    play->computerSnake.move();
    play->onActivate();
    EXPECT_EQ(play->secondsLeft, 180u);
    ASSERT_NE(play->countdown, nullptr);
    EXPECT_TRUE(play->countdown->isRunning());
    EXPECT_EQ(play->computerSnake.head->y, 310); // not part of this match
    EXPECT_EQ(play->computerSnake.control, nullptr);
    EXPECT_EQ(over->mode, 1);
    EXPECT_EQ(timersInUse(), timersBefore + 2); // the food's clock and the countdown

    for (int i = 0; i < 180; ++i) play->onTimer(*play->countdown);
    EXPECT_EQ(play->secondsLeft, 0u);
    EXPECT_EQ(requestedState(), "");
    play->onTimer(*play->countdown);
    EXPECT_EQ(requestedState(), "game_over");
    EXPECT_EQ(over->winner, &play->playerSnake);
}

TEST_F(PlayStateTest, TheFoodComesFasterAsTheTimeRunsOut) {
    play->mode = gameState::ONE_PLAYER;
    play->onActivate();
    struct pace {
        unsigned int seconds, maxPieces, maxDelay;
    };
    // At 60 and 30 seconds exactly the calmer row above still holds.
    const pace table[] = {{180, 5, 10}, {90, 5, 10}, {89, 10, 6}, {75, 10, 6}, {61, 10, 6}, {60, 10, 6},
                          {59, 20, 3},  {31, 20, 3}, {30, 20, 3}, {29, 40, 1}, {0, 40, 1}};
    for (const pace& p : table) {
        play->playerSnake.reset();
        play->secondsLeft = p.seconds;
        play->onUpdate();
        EXPECT_EQ(play->foodManager.maxPieces, p.maxPieces) << p.seconds;
        EXPECT_EQ(play->foodManager.maxDelay, p.maxDelay) << p.seconds;
    }
    EXPECT_EQ(requestedState(), "");
}

TEST_F(PlayStateTest, TheWinnerIsDecidedBeforeAMealInTheSameFrame) {
    play->onActivate();
    // The computer runs into the player's body while the player eats.
    place(play->playerSnake, 400, 300, 390, 300, snake::RIGHT);
    place(play->computerSnake, 400, 290, 400, 280, snake::UP);
    food::foodPiece* piece = play->foodManager.first;
    ASSERT_NE(piece, nullptr);
    piece->x = 400;
    piece->y = 290;
    const int value = piece->value;

    testing::internal::CaptureStdout();
    play->onUpdate();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(requestedState(), "game_over");
    EXPECT_EQ(play->playerSnake.length, value); // the meal still counts
    EXPECT_EQ(play->computerSnake.length, 0);
    EXPECT_EQ(over->winner, &play->playerSnake);
    EXPECT_EQ(over->resultLine(), "Player 1 has won with " + std::to_string(value) + " points.");
    // Asked again now, the snakes would name the computer: the meal's segments
    // stand on the player's head.
    EXPECT_EQ(snake::collide(&play->playerSnake, &play->computerSnake), &play->computerSnake);
}

TEST_F(PlayStateTest, BothHeadsCrashingInOneFrameAskOnceAndThePlayersCrashCountsFirst) {
    play->onActivate();
    // The player leaves the field; the computer runs into the player's body.
    place(play->playerSnake, 400, 600, 400, 590, snake::UP);
    place(play->computerSnake, 410, 600, 420, 600, snake::LEFT);
    play->onUpdate();
    EXPECT_EQ(requestedState(), "game_over"); // once
    EXPECT_EQ(over->winner, &play->computerSnake);
    EXPECT_EQ(over->resultLine(), "Computer has won with 0 points.");
}

TEST_F(PlayStateTest, AHeadAtTheRightEdgeIsStillInside) {
    play->onActivate();
    place(play->playerSnake, 790, 300, 780, 300, snake::RIGHT);
    place(play->computerSnake, 100, 100, 100, 90, snake::UP);
    play->onUpdate();
    EXPECT_EQ(play->playerSnake.head->x, 800);
    EXPECT_EQ(requestedState(), "");
    play->onUpdate();
    EXPECT_EQ(requestedState(), "game_over");
    EXPECT_EQ(over->winner, &play->computerSnake);
}

TEST_F(PlayStateTest, APauseSilencesTheMatchAndAResumeCarriesOn) {
    play->mode = gameState::ONE_PLAYER;
    play->onActivate();
    play->onUpdate();
    play->onTimer(*play->countdown);
    const int x = play->playerSnake.head->x;
    const int y = play->playerSnake.head->y;

    play->onDeactivate(); // Tab: the pause screen comes next
    play->paused = true;
    EXPECT_FALSE(play->countdown->isRunning());
    EXPECT_FALSE(hears(play->playerControl));
    ASSERT_NE(play->channel, nullptr);
    EXPECT_TRUE(play->channel->isPaused());
    EXPECT_NE(play->playerSnake.control, nullptr);
    app.getKeyListeners().purge();

    play->onActivate();
    EXPECT_FALSE(play->paused);
    EXPECT_EQ(play->secondsLeft, 179u);
    EXPECT_TRUE(play->countdown->isRunning());
    EXPECT_TRUE(hears(play->playerControl));
    EXPECT_FALSE(play->channel->isPaused());
    EXPECT_EQ(play->playerSnake.head->x, x);
    EXPECT_EQ(play->playerSnake.head->y, y);
    EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
}

TEST_F(PlayStateTest, TheComputersClockStopsForAPause) {
    play->onActivate();
    aiController* computer = play->computerControl;
    play->onDeactivate();
    play->paused = true;
    EXPECT_FALSE(computer->timer->isRunning());
    play->onActivate();
    EXPECT_TRUE(computer->timer->isRunning());
    EXPECT_EQ(play->computerSnake.control, computer);
}

TEST_F(PlayStateTest, TheEndOfAMatchDisposesOfItsControllersAndMusic) {
    play->onActivate();
    app.dispatchKey(lum::KEY_F1, lum::PRESSED); // the hand-over adds a controller
    EXPECT_EQ(timersInUse(), timersBefore + 3);
    EXPECT_EQ(play->playerSnake.control, play->playerControl->successor);
    place(play->playerSnake, 400, 600, 400, 590, snake::UP);
    play->onUpdate();
    ASSERT_EQ(requestedState(), "game_over");
    play->onDeactivate();
    EXPECT_EQ(play->playerSnake.control, nullptr);
    EXPECT_EQ(play->computerSnake.control, nullptr);
    EXPECT_EQ(play->playerControl, nullptr);
    EXPECT_EQ(play->computerControl, nullptr);
    EXPECT_EQ(timersInUse(), timersBefore + 1); // the food's clock alone
    EXPECT_EQ(play->soundSystem, nullptr);
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);

    // A one-player match next: nothing of the last match is disposed of again.
    play->mode = gameState::ONE_PLAYER;
    play->onActivate();
    play->onTimer(*play->countdown);
    place(play->playerSnake, 0, 300, 10, 300, snake::LEFT);
    play->onUpdate();
    ASSERT_EQ(requestedState(), "game_over");
    play->onDeactivate();
    EXPECT_EQ(timersInUse(), timersBefore + 2); // the countdown is kept for the next one
    EXPECT_FALSE(play->countdown->isRunning());
    EXPECT_EQ(play->secondsLeft, 179u);
}

TEST_F(PlayStateTest, TheScoreLineIsBrightGreenAndCentredOnItsPoints) {
    auto greenIn = [](const lum::Screen& screen, int x1, int y1, int x2, int y2) {
        int count = 0;
        for (int y = y1; y < y2; ++y) {
            for (int x = x1; x < x2; ++x) {
                if (screen.getPixel(x, y) == gameState::scoreColour) ++count;
            }
        }
        return count;
    };
    lum::Screen screen(800, 600);
    play->onActivate();
    play->onRender(screen);
    EXPECT_GT(greenIn(screen, 20, 565, 100, 585), 0);  // "Player 1: " about (60, 575)
    EXPECT_GT(greenIn(screen, 110, 565, 130, 585), 0); // "0" about (120, 575)
    EXPECT_GT(greenIn(screen, 640, 560, 720, 580), 0); // "Computer: " about (680, 570)
    EXPECT_GT(greenIn(screen, 730, 560, 750, 580), 0); // "0" about (740, 570)
    EXPECT_EQ(greenIn(screen, 350, 555, 450, 585), 0);
    play->onDeactivate();

    play->mode = gameState::ONE_PLAYER;
    play->onActivate();
    screen.clear(lum::Colour(0, 0, 0, 255));
    play->onRender(screen);
    EXPECT_GT(greenIn(screen, 370, 555, 430, 585), 0); // "180" about (400, 570)
    EXPECT_EQ(greenIn(screen, 640, 560, 760, 580), 0);
}

} // namespace
