// The whole program run in-process: the screens as the user meets them, the
// frames they draw, and the program as a process of its own.
#include "GameTest.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Screen.h"
#include "framework/sound/SoundChannel.h"
#include "framework/sound/SoundSystem.h"
#include "game/aiController.h"
#include "game/centredText.h"
#include "game/gameState.h"
#include "game/playerController.h"
#include "game/spriteFile.h"
#include "shell/gameOver.h"
#include "shell/gamePaused.h"
#include "shell/mainMenu.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <tuple>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
const char* const FONT_FILE = "C:\\Windows\\Fonts\\cour.ttf";

// The text centred on (400, centreY), halves rounded down.
void drawCentred(lum::Image& target, unsigned int size, const lum::Colour& colour, const std::string& text,
                 int centreY) {
    const lum::Font font(FONT_FILE, size);
    const lum::FontSize box = font.measureText(text);
    font.drawText(target, 400 - static_cast<int>(box.width / 2), centreY - static_cast<int>(box.height / 2), colour,
                  text);
}

bool samePixels(const lum::Image& a, const lum::Image& b) {
    return a.getPixelCount() == b.getPixelCount() &&
           std::equal(a.getPixels(), a.getPixels() + a.getPixelCount(), b.getPixels());
}

// A two-player match that the player ends by running into the top wall after
// 31 frames, the one piece of food moved far from both snakes first.
GameRun& crashIntoTheTopWall(GameRun& run) {
    return run.startMatch(false)
        .act([](GameRun& r) {
            r.play->foodManager.first->x = 700;
            r.play->foodManager.first->y = 50;
        })
        .until("game_over");
}

TEST(ShellTest, TheFirstFrameIsTheMenuWithPlayGameHighlighted) {
    GameRun run;
    std::unique_ptr<lum::Image> first;
    run.onFrame = [&first](const lum::Screen& screen) {
        if (!first) first.reset(new lum::Image(screen));
    };
    run.frames(1).keys({lum::KEY_ESCAPE});
    testing::internal::CaptureStderr();
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(first);

    lum::Image expected(800, 600, lum::Colour(0, 0, 0, 255)), background;
    spriteFile::load(background, "mainMenu.bmp");
    expected.drawImage(background, 0, 0, 800, 600, 0, 0);
    drawCentred(expected, 32, lum::Colour(255, 51, 51, 255), "> Play Game <", 400);
    drawCentred(expected, 16, lum::Colour(255, 255, 255, 255), "Set One Player", 300);
    drawCentred(expected, 16, lum::Colour(255, 255, 255, 255), "Exit Game", 200);
    EXPECT_TRUE(samePixels(*first, expected));
    EXPECT_GT(std::count(first->getPixels(), first->getPixels() + 800 * 600, lum::Colour(255, 51, 51, 255)), 50);
}

TEST(ShellTest, AMatchEndsOnTheGameOverScreenWhichLeadsBackToTheMenu) {
    GameRun run;
    crashIntoTheTopWall(run)
        .frames(1)
        .act([](GameRun& r) {
            EXPECT_EQ(r.play->playerSnake.head->y, 610);
            EXPECT_EQ(r.over->resultLine(), "Computer has won with 0 points.");
            EXPECT_EQ(lum::SoundSystem::openSystems(), 0); // the match's music is gone
            EXPECT_EQ(timersInUse(), 2); // the food's clock and the pause screen's snake
        })
        .keys({lum::KEY_SPACE})
        .until("menu")
        .act([](GameRun& r) {
            EXPECT_EQ(lum::SoundSystem::openSystems(), 1); // the menu's music again
            EXPECT_NE(r.menu->menuMusic, nullptr);
        })
        .keys({lum::KEY_DOWN, lum::KEY_DOWN, lum::KEY_SPACE});
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(run.done, 11u);
}

TEST(ShellTest, TabPausesAndResumingCarriesOnWhereTheMatchStopped) {
    GameRun run;
    struct {
        int x, y, direction;
        unsigned int seconds;
        double music;
    } paused{};
    run.startMatch(true)
        .frames(90, true)
        .keys({lum::KEY_TAB})
        .until("pause")
        .act([&paused](GameRun& r) {
            const snake& s = r.play->playerSnake;
            paused = {s.head->x, s.head->y, s.direction, r.play->secondsLeft, r.play->channel->getPosition()};
            EXPECT_EQ(r.pause->backdropSnake.head->x, 0); // first pause: climbing the left edge
            EXPECT_TRUE(r.play->channel->isPaused());
            r.app.queueKeyPress(s.direction == snake::UP ? lum::KEY_LEFT : lum::KEY_UP);
            r.app.queueKeyPress(lum::KEY_TAB); // the match's keys do nothing now
        })
        .frames(180)
        .keys({lum::KEY_SPACE})
        .until("main")
        .act([&paused](GameRun& r) {
            const snake& s = r.play->playerSnake;
            EXPECT_EQ(std::make_tuple(s.head->x, s.head->y, s.direction, r.play->secondsLeft),
                      std::make_tuple(paused.x, paused.y, paused.direction, paused.seconds));
            EXPECT_FALSE(r.play->channel->isPaused());
            EXPECT_GE(r.play->channel->getPosition(), paused.music);
            EXPECT_TRUE(hears(r.play->playerControl));
        })
        .frames(125, true)
        .act([&paused](GameRun& r) { EXPECT_EQ(r.play->secondsLeft, paused.seconds - 2); })
        .keys({lum::KEY_TAB})
        .until("pause")
        .keys({lum::KEY_DOWN, lum::KEY_SPACE}); // "Exit Game"
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(run.done, 17u);
}

TEST(ShellTest, F1HandsThePlayersSnakeToTheComputerForTheRestOfTheMatch) {
    GameRun run;
    run.timeLimit = 600;
    run.startMatch(false)
        .keys({lum::KEY_F1})
        .frames(2)
        .act([](GameRun& r) {
            EXPECT_EQ(r.play->playerSnake.name, "Computer");
            EXPECT_NE(dynamic_cast<aiController*>(r.play->playerSnake.control), nullptr);
            EXPECT_FALSE(hears(r.play->playerControl));
            r.app.queueKeyPress(lum::KEY_TAB);
        })
        .frames(2)
        .act([](GameRun& r) { EXPECT_EQ(r.state(), "main"); })
        .until("game_over")
        .act([](GameRun& r) {
            EXPECT_EQ(r.over->resultLine().rfind("Computer has won with ", 0), 0u);
            EXPECT_EQ(timersInUse(), 2);
        })
        .keys({lum::KEY_ESCAPE});
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(run.done, 11u);
}

// Each way out of the program from a shell screen: exit code 0, nothing on
// standard error, and nothing left running.
TEST(ShellTest, EscapeOrExitGameEndsTheProgramFromEveryShellScreen) {
    const std::function<void(GameRun&)> scripts[] = {
        [](GameRun& r) { r.until("menu").keys({lum::KEY_ESCAPE}, lum::RELEASED); },
        [](GameRun& r) { r.startMatch(false).frames(5).keys({lum::KEY_TAB}).until("pause").keys({lum::KEY_ESCAPE}); },
        [](GameRun& r) { crashIntoTheTopWall(r).keys({lum::KEY_ESCAPE}, lum::RELEASED); },
        [](GameRun& r) { crashIntoTheTopWall(r).keys({lum::KEY_DOWN, lum::KEY_SPACE}); },
    };
    for (const auto& script : scripts) {
        GameRun run;
        script(run);
        testing::internal::CaptureStderr();
        EXPECT_EQ(run.run(), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(timersInUse(), 0);
        EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
        EXPECT_GT(run.done, 1u);
    }
}

using GameOverTest = FieldTest;

TEST_F(GameOverTest, WithNoWinnerTheScreenSaysSo) {
    // Both snakes clear of everything: neither collide names a winner.
    snake player, computer;
    computer.direction = snake::RIGHT;
    player.move();
    computer.move();
    gameOver over;
    over.playerSnake = &player;
    over.computerSnake = &computer;
    EXPECT_EQ(over.resultLine(), "The match ended without a winner.");
    over.playerSnake = nullptr;
    lum::Screen screen(800, 600);
    over.onRender(screen);
    lum::Image expected(800, 600, lum::Colour(0, 0, 0, 255));
    drawCentred(expected, 16, lum::Colour(255, 0, 0, 255), "The match ended without a winner.", 500);
    drawCentred(expected, 32, lum::Colour(255, 0, 0, 255), "Main Menu", 400);
    drawCentred(expected, 16, lum::Colour(255, 0, 0, 255), "Exit Game", 300);
    EXPECT_TRUE(samePixels(screen, expected));
}

TEST(ShellTest, TextWiderThanTheScreenIsCentredNotWrappedAround) {
    const lum::Font font(FONT_FILE, 16);
    const std::string text(200, 'W');
    lum::Image drawn(800, 100, lum::Colour(0, 0, 0, 255)), expected(drawn);
    centredText::draw(drawn, font, text, lum::Colour(255, 0, 0, 255), 400, 50);
    const lum::FontSize box = font.measureText(text);
    font.drawText(expected, 400 - static_cast<int>(box.width) / 2, 50 - static_cast<int>(box.height) / 2,
                  lum::Colour(255, 0, 0, 255), text);
    EXPECT_TRUE(samePixels(drawn, expected));
    EXPECT_NE(drawn.getPixel(0, 50), lum::Colour(0, 0, 0, 255));
}

// The program as a process of its own, in a folder with every asset but one.
TEST(ShellTest, AMissingPictureIsReportedOnceAndTheProgramEndsCleanly) {
    for (const std::string missing : {"mainMenu.bmp", "snakeHead.bmp"}) {
        ScratchFolder folder;
        for (const auto& entry : fs::directory_iterator(folder.before)) {
            const fs::path name = entry.path().filename();
            if ((name.extension() == ".bmp" || name.extension() == ".mp3") && name != missing) {
                fs::copy(entry.path(), folder.path / name);
            }
        }
        // A leak checker's closing summary would be more lines on standard error.
        const char* leak = std::getenv("LSAN_OPTIONS");
        const std::string command = "LSAN_OPTIONS='" + std::string(leak ? leak : "") + ":print_suppressions=0' \"" +
                                    VELLORIN_HEADLESS + "\" > out.txt 2> err.txt";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << missing;
        const std::string err = readFile("err.txt");
        EXPECT_EQ(err.rfind("Exception caught: ", 0), 0u) << err;
        EXPECT_NE(err.find(missing), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(err.back(), '\n');
        EXPECT_EQ(readFile("out.txt"), "");
    }
}

} // namespace
