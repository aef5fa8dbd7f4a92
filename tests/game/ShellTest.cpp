// The whole program run in-process: the screens as the user meets them, the
// frames they draw and the ways out of the program.
#include "GameTest.h"

#include "framework/RecordingReader.h"
#include "framework/RecordingWriter.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Screen.h"
#include "framework/sound/SoundChannel.h"
#include "game/spriteFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <tuple>

namespace {

const lum::Colour black(0, 0, 0, 255), red(255, 0, 0, 255), white(255, 255, 255, 255), green(20, 255, 20, 255);

// The text centred on (400, y), halves rounded down.
void drawCentred(lum::Image& target, unsigned int size, const lum::Colour& colour, const std::string& text, int y) {
    const lum::Font font("C:\\Windows\\Fonts\\cour.ttf", size);
    const lum::FontSize box = font.measureText(text);
    font.drawText(target, 400 - static_cast<int>(box.width / 2), y - static_cast<int>(box.height / 2), colour, text);
}

// Whether the score line's colour shows between x1 and x2 at the top of the frame.
bool scoreShows(const lum::Image& frame, int x1, int x2) {
    for (const lum::Colour* row = frame.getPixels() + 555 * 800; row < frame.getPixels() + 590 * 800; row += 800)
        if (std::find(row + x1, row + x2, green) != row + x2) return true;
    return false;
}

// Every screen once, as a player goes through them, with the first frame of
// each: the menu; a two-player match, paused at once and resumed, that the
// player ends by running into the top wall after 31 frames (the one piece of
// food moved far from both snakes first); the game-over screen; back to the
// menu and out through its last line. Run under valgrind as well (see
// CMakeLists.txt).
TEST(ShellTest, AWholeGameFromTheMenuToTheEnd) {
    GameRun run;
    run.startMatch(false)
        .act([](GameRun& r) { r.play->foodManager.first->x = 700, r.play->foodManager.first->y = 50; })
        .keys({lum::KEY_TAB}).until("pause")
        .keys({lum::KEY_SPACE}).until("main")
        .until("game_over")
        .frames(1)
        .keys({lum::KEY_SPACE}).until("menu")
        .keys({lum::KEY_DOWN, lum::KEY_DOWN, lum::KEY_SPACE})
        .run(); // every phase passed, a clean end, nothing left behind

    const lum::Image& menu = run.firstFrames.at("menu");
    lum::Image expected(800, 600, black), background;
    spriteFile::load(background, "mainMenu.bmp");
    expected.drawImage(background, 0, 0, 800, 600, 0, 0);
    drawCentred(expected, 32, lum::Colour(255, 51, 51, 255), "> Play Game <", 400);
    drawCentred(expected, 16, white, "Set One Player", 300);
    drawCentred(expected, 16, white, "Exit Game", 200);
    EXPECT_TRUE(std::equal(menu.getPixels(), menu.getPixels() + 800 * 600, expected.getPixels()));

    const lum::Image& match = run.firstFrames.at("main");
    EXPECT_TRUE(scoreShows(match, 20, 130));  // "Player 1: " and 0 about (60, 575), (120, 575)
    EXPECT_TRUE(scoreShows(match, 640, 750)); // "Computer: " and 0 about (680, 570), (740, 570)
    EXPECT_FALSE(scoreShows(match, 300, 500));

    expected = lum::Image(800, 600, black);
    drawCentred(expected, 16, red, "Computer has won with 0 points.", 500);
    drawCentred(expected, 32, red, "Main Menu", 400);
    drawCentred(expected, 16, red, "Exit Game", 300);
    const lum::Image& over = run.firstFrames.at("game_over");
    EXPECT_TRUE(std::equal(over.getPixels(), over.getPixels() + 800 * 600, expected.getPixels()));
}

// A game recorded on the headless platform replays frame for frame without a
// window; with main's seed changed, the food falls elsewhere and the first
// frame that shows it is named.
TEST(ShellTest, ARecordedGameReplaysAndTheFirstDifferentFrameIsNamed) {
    {
        GameRun run;
        lum::application.record("game.rec");
        run.startMatch(false)
            .frames(60, true)
            .keys({lum::KEY_F1}).until("game_over")
            .keys({lum::KEY_SPACE}).until("menu")
            .keys({lum::KEY_DOWN, lum::KEY_DOWN, lum::KEY_SPACE})
            .run();
    }
    lum::RecordingReader reader = lum::RecordingReader::fromFile("game.rec");
    lum::RecordingHeader header = reader.readHeader();
    header.seeds.at(0) ^= 1;
    std::vector<std::uint8_t> changed = lum::RecordingWriter::encode(header);
    std::ifstream original("game.rec", std::ios::binary);
    original.seekg(static_cast<std::streamoff>(reader.offset()));
    changed.insert(changed.end(), std::istreambuf_iterator<char>(original), std::istreambuf_iterator<char>());
    std::ofstream("changed.rec", std::ios::binary).write(reinterpret_cast<const char*>(changed.data()),
                                                         static_cast<std::streamsize>(changed.size()));

    for (const char* file : {"game.rec", "changed.rec"}) {
        GameRun reset; // the App as built, around the replay
        const char* arguments[] = {"vellorin", "--replay-verify", file};
        testing::internal::CaptureStderr();
        const int status = vellorinMain(3, arguments);
        const std::string verdict = testing::internal::GetCapturedStderr();
        if (file == std::string("game.rec")) {
            EXPECT_EQ(status, 0);
            EXPECT_NE(verdict.find(": every one of its "), std::string::npos) << verdict;
        } else {
            EXPECT_EQ(status, 1);
            EXPECT_NE(verdict.find("failed: Frame "), std::string::npos) << verdict;
            EXPECT_NE(verdict.find(") differs from the recording."), std::string::npos) << verdict;
        }
    }
}

// A one-player match, its snake steered round the field, paused with Tab
// after 90 frames: the snake, the countdown and the music wait, and the
// match's keys are not heard. Resumed, it carries on where it stopped, and the
// countdown, started afresh, ends it one second after it shows 0, with the
// player the winner. The menu then shows the mode as it was left; Escape,
// released, ends the program.
TEST(ShellTest, APausedMatchCarriesOnWhereItStoppedAndItsCountdownEndsIt) {
    GameRun run;
    std::tuple<int, int, int, unsigned int> paused;
    double music = 0;
    std::int64_t resumedAt = 0;
    run.startMatch(true)
        .act([](GameRun&) { std::srand(2024); })
        .frames(90, true)
        .keys({lum::KEY_TAB}).until("pause")
        .act([&](GameRun& r) {
            const snake& s = r.play->playerSnake;
            paused = {s.head->x, s.head->y, s.direction, r.play->secondsLeft};
            EXPECT_EQ(r.play->secondsLeft, 179u); // 180 at the start, one less every second
            ASSERT_NE(r.play->channel, nullptr) << "no music: the tests run with SDL's dummy audio driver";
            music = r.play->channel->getPosition();
            EXPECT_TRUE(scoreShows(r.firstFrames.at("main"), 370, 430)); // the seconds left about (400, 570)
            EXPECT_FALSE(scoreShows(r.firstFrames.at("main"), 640, 750));
            // The backdrop snake of the first pause climbs the left edge.
            EXPECT_EQ(dynamic_cast<gamePaused&>(*r.app.getActiveState()).backdropSnake.head->x, 0);
            EXPECT_TRUE(r.play->channel->isPaused());
            r.app.queueKeyPress(s.direction == snake::UP ? lum::KEY_LEFT : lum::KEY_UP);
            r.app.queueKeyPress(lum::KEY_TAB); // the match's keys do nothing now
        })
        .frames(180)
        .keys({lum::KEY_SPACE}).until("main")
        .act([&](GameRun& r) {
            const snake& s = r.play->playerSnake;
            EXPECT_EQ(std::make_tuple(s.head->x, s.head->y, s.direction, r.play->secondsLeft), paused);
            EXPECT_FALSE(r.play->channel->isPaused());
            EXPECT_GE(r.play->channel->getPosition(), music);
            resumedAt = r.app.getClock();
        })
        .frames(125, true) // steered by the keys again
        .act([&](GameRun& r) { EXPECT_EQ(r.play->secondsLeft, std::get<3>(paused) - 2); })
        .until("game_over", true)
        .act([&](GameRun& r) {
            const std::int64_t playedOn = r.app.getClock() - resumedAt - std::get<3>(paused) * std::int64_t{1000000000};
            EXPECT_TRUE(playedOn >= 1000000000 && playedOn < 2000000000) << playedOn;
            EXPECT_GT(r.play->playerSnake.length, 0);
            EXPECT_EQ(r.play->gameOverState->resultLine(),
                      "Player 1 has won with " + std::to_string(r.play->playerSnake.length) + " points.");
        })
        .keys({lum::KEY_SPACE}).until("menu")
        .act([](GameRun& r) { EXPECT_EQ(r.menu->menuItems[1], "Set Two Player"); })
        .keys({lum::KEY_ESCAPE}, lum::RELEASED)
        .run();
}

// Losing the focus pauses a match the player steers as Tab does, with its
// countdown and music held, and its return resumes nothing; after F1 the
// match plays on. M, on the menu and in the pause, mutes and unmutes.
TEST(ShellTest, LosingTheFocusPausesOnlyAMatchThePlayerSteers) {
    GameRun run;
    run.until("menu")
        .keys({'m'}).frames(1)
        .act([](GameRun&) { EXPECT_TRUE(lum::SoundSystem::isMuted()); })
        .startMatch(true)
        .act([](GameRun& r) { r.app.queueFocus(false); })
        .until("pause")
        .act([](GameRun& r) {
            EXPECT_TRUE(r.play->channel->isPaused() && !r.play->countdown->isRunning());
            r.app.queueFocus(true);
            r.app.queueKeyPress('M');
        })
        .frames(30)
        .act([](GameRun& r) { EXPECT_TRUE(r.state() == "pause" && !lum::SoundSystem::isMuted()); })
        .keys({lum::KEY_SPACE, lum::KEY_F1}).until("main")
        .act([](GameRun& r) { r.app.queueFocus(false); })
        .until("game_over")
        .act([](GameRun& r) { EXPECT_EQ(r.play->playerSnake.name, "Computer"); })
        .keys({lum::KEY_SPACE}).until("menu")
        .keys({lum::KEY_ESCAPE}, lum::RELEASED)
        .run();
}

using GameOverTest = FieldTest;

TEST_F(GameOverTest, WithNoWinnerTheScreenSaysSo) {
    snake player, computer; // both clear of everything
    computer.direction = snake::RIGHT;
    for (snake* s : {&player, &computer}) s->move();
    gameOver over;
    over.playerSnake = &player;
    over.computerSnake = &computer;
    EXPECT_EQ(over.resultLine(), "The match ended without a winner.");
    over.playerSnake = nullptr;
    EXPECT_EQ(over.resultLine(), "The match ended without a winner.");
}

} // namespace
