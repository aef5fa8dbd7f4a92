// The shell screens used directly: the game-over result line, the menu's keys
// and mode toggle, the pause screen's keys, and texts centred on a point.
#include "FieldFixture.h"

#include "framework/graphics/Screen.h"
#include "framework/sound/SoundSystem.h"
#include "game/centredText.h"
#include "game/gameState.h"
#include "shell/gameOver.h"
#include "shell/gamePaused.h"
#include "shell/mainMenu.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

const char* const FONT_FILE = "C:\\Windows\\Fonts\\cour.ttf";

// Draws a text the way the screens place it: centred on (400, y).
void drawExpected(lum::Image& target, const lum::Font& font, const lum::Colour& colour, const std::string& text,
                  int centreY) {
    const lum::FontSize size = font.measureText(text);
    font.drawText(target, 400 - static_cast<int>(size.width / 2), centreY - static_cast<int>(size.height / 2), colour,
                  text);
}

class ShellTest : public FieldFixture {
protected:
    void SetUp() override {
        FieldFixture::SetUp();
        app.addState("main", mainStandIn);
        app.addState("menu", menuStandIn);
    }

    IdleState mainStandIn;
    IdleState menuStandIn;
};

class GameOverTest : public ShellTest {
protected:
    snake player;
    snake computer;
    gameOver over;

    void SetUp() override {
        ShellTest::SetUp();
        player.name = "Player 1";
        computer.name = "Computer";
        over.playerSnake = &player;
        over.computerSnake = &computer;
        player.move();
        computer.direction = snake::RIGHT;
        computer.move();
    }
};

TEST_F(GameOverTest, WithNoRecordedWinnerTheSnakesAreAsked) {
    // The computer's head on the player's body: the player has won.
    player.grow(2);
    player.move();
    computer.head->x = player.neck->x;
    computer.head->y = player.neck->y;
    EXPECT_EQ(over.resultLine(), "Player 1 has won with 2 points.");

    // The player's head off the field: the computer has won.
    player.reset();
    player.move();
    player.head->y = 610;
    computer.grow(7);
    computer.move();
    EXPECT_EQ(over.resultLine(), "Computer has won with 7 points.");

    // A one-player match names the player whatever the snakes show.
    over.mode = 1;
    EXPECT_EQ(over.resultLine(), "Player 1 has won with 0 points.");
}

TEST_F(GameOverTest, TheRecordedWinnerCountsAndAHandedOverSnakeIsTheComputer) {
    player.name = "Computer";
    over.winner = &player;
    player.grow(12);
    EXPECT_EQ(over.resultLine(), "Computer has won with 12 points.");
}

TEST_F(GameOverTest, NoWinnerGivesALineSayingSoInsteadOfACrash) {
    // Both snakes clear of everything: neither collide names a winner.
    EXPECT_EQ(over.findWinner(), nullptr);
    EXPECT_EQ(over.resultLine(), "The match ended without a winner.");
    over.playerSnake = nullptr;
    over.computerSnake = nullptr;
    EXPECT_EQ(over.resultLine(), "The match ended without a winner.");
    lum::Screen screen(800, 600);
    over.onRender(screen);

    lum::Screen expected(800, 600);
    lum::Font big(FONT_FILE, 32);
    lum::Font small(FONT_FILE, 16);
    drawExpected(expected, small, gameOver::lineColour, "The match ended without a winner.", 500);
    drawExpected(expected, big, gameOver::lineColour, "Main Menu", 400);
    drawExpected(expected, small, gameOver::lineColour, "Exit Game", 300);
    EXPECT_TRUE(std::equal(screen.getPixelData(), screen.getPixelData() + 800 * 600 * 4, expected.getPixelData()));
}

TEST_F(GameOverTest, TheScreenShowsTheResultAboveTheTwoChoicesInRed) {
    over.mode = 1;
    over.selectedItem = gameOver::EXIT_GAME;
    lum::Screen screen(800, 600);
    over.onRender(screen);

    lum::Screen expected(800, 600);
    lum::Font big(FONT_FILE, 32);
    lum::Font small(FONT_FILE, 16);
    const lum::Colour red(255, 0, 0, 255);
    drawExpected(expected, small, red, "Player 1 has won with 0 points.", 500);
    drawExpected(expected, small, red, "Main Menu", 400);
    drawExpected(expected, big, red, "Exit Game", 300);
    EXPECT_TRUE(std::equal(screen.getPixelData(), screen.getPixelData() + 800 * 600 * 4, expected.getPixelData()));
}

TEST_F(GameOverTest, KeysMoveTheHighlightAndSpaceActsPressedOrReleased) {
    over.onActivate();
    key(lum::KEY_UP);
    EXPECT_EQ(over.selectedItem, gameOver::MAIN_MENU);
    key(lum::KEY_DOWN, lum::RELEASED);
    EXPECT_EQ(over.selectedItem, gameOver::MAIN_MENU);
    key(lum::KEY_SPACE, lum::RELEASED);
    EXPECT_EQ(requestedState(), "menu");
    key(lum::KEY_DOWN);
    key(lum::KEY_DOWN);
    EXPECT_EQ(over.selectedItem, gameOver::EXIT_GAME);
    EXPECT_FALSE(app.isExiting());
    key(lum::KEY_SPACE);
    EXPECT_TRUE(app.isExiting());
    over.onDeactivate();
}

TEST_F(ShellTest, TheMenuTogglesThePlayerModeAndKeepsItsHighlightInRange) {
    gameState play;
    mainMenu menu;
    menu.playState = &play;
    menu.onActivate();
    EXPECT_EQ(lum::SoundSystem::openSystems(), 1);

    key(lum::KEY_UP);
    EXPECT_EQ(menu.selectedItem, mainMenu::PLAY_GAME);
    key(lum::KEY_DOWN);
    key(lum::KEY_SPACE, lum::RELEASED); // a released Space does nothing
    EXPECT_EQ(menu.menuItems[1], "Set One Player");
    key(lum::KEY_SPACE);
    EXPECT_EQ(menu.menuItems[1], "Set Two Player");
    EXPECT_EQ(play.mode, gameState::ONE_PLAYER);
    key(lum::KEY_SPACE);
    EXPECT_EQ(menu.menuItems, (std::vector<std::string>{"Play Game", "Set One Player", "Exit Game"}));
    EXPECT_EQ(play.mode, gameState::TWO_PLAYER);
    EXPECT_EQ(requestedState(), "");

    for (int i = 0; i < 5; ++i) key(lum::KEY_DOWN);
    EXPECT_EQ(menu.selectedItem, mainMenu::EXIT_GAME);
    for (int i = 0; i < 5; ++i) key(lum::KEY_UP);
    EXPECT_EQ(menu.selectedItem, mainMenu::PLAY_GAME);
    key(lum::KEY_SPACE);
    EXPECT_EQ(requestedState(), "main");

    menu.onDeactivate();
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
    EXPECT_EQ(menu.menuMusic, nullptr);
}

TEST_F(ShellTest, AReleasedEscapeLeavesTheMenu) {
    mainMenu menu;
    menu.onActivate();
    key(lum::KEY_ESCAPE, lum::RELEASED);
    EXPECT_TRUE(app.isExiting());
    menu.onDeactivate();
}

TEST_F(ShellTest, TheMenuWorksSilentlyWithoutItsMusic) {
    mainMenu menu;
    const std::string musicFile = "MenuMusic.mp3";
    std::rename(musicFile.c_str(), "MenuMusic.mp3.away");
    menu.onActivate();
    std::rename("MenuMusic.mp3.away", musicFile.c_str());
    EXPECT_EQ(menu.menuMusic, nullptr);
    key(lum::KEY_DOWN);
    EXPECT_EQ(menu.selectedItem, 1);
    menu.onDeactivate();
    EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
}

TEST_F(ShellTest, ThePauseScreenMarksThePauseAndResumesOnSpaceEitherWay) {
    gameState play;
    gamePaused pause;
    pause.playState = &play;
    pause.onActivate();
    EXPECT_TRUE(play.paused);
    key(lum::KEY_UP);
    EXPECT_EQ(pause.selectedItem, gamePaused::RESUME_GAME);
    key(lum::KEY_SPACE, lum::RELEASED);
    EXPECT_EQ(requestedState(), "main");
    key(lum::KEY_DOWN);
    key(lum::KEY_DOWN);
    EXPECT_EQ(pause.selectedItem, gamePaused::EXIT_GAME);
    pause.onDeactivate();
    EXPECT_TRUE(play.paused); // cleared by the play state, not here
    app.getKeyListeners().purge(); // as after a switch
    pause.onActivate();
    EXPECT_EQ(pause.selectedItem, gamePaused::EXIT_GAME);
    key(lum::KEY_SPACE);
    EXPECT_TRUE(app.isExiting());
    pause.onDeactivate();
}

TEST_F(ShellTest, ThePauseScreensSnakeOwnsItsCornerController) {
    const int before = timersInUse();
    {
        gamePaused pause;
        EXPECT_EQ(pause.backdropSnake.name, "Computer");
        ASSERT_NE(pause.backdropSnake.control, nullptr);
        EXPECT_EQ(timersInUse(), before + 1);
    }
    EXPECT_EQ(timersInUse(), before);
}

TEST_F(ShellTest, ATextWiderThanTheScreenIsStillCentred) {
    lum::Font font(FONT_FILE, 16);
    const std::string text(200, 'W');
    const lum::FontSize size = font.measureText(text);
    ASSERT_GT(size.width, 800u);
    lum::Image drawn(800, 600, lum::Colour(0, 0, 0, 255));
    centredText::draw(drawn, font, text, lum::Colour(255, 0, 0, 255), 400, 300);

    lum::Image expected(800, 600, lum::Colour(0, 0, 0, 255));
    font.drawText(expected, 400 - static_cast<int>(size.width) / 2, 300 - static_cast<int>(size.height) / 2,
                  lum::Colour(255, 0, 0, 255), text);
    int differing = 0;
    int red = 0;
    for (unsigned int y = 0; y < 600; ++y) {
        for (unsigned int x = 0; x < 800; ++x) {
            if (drawn.getPixel(x, y) != expected.getPixel(x, y)) ++differing;
            if (drawn.getPixel(x, y).getRed() > 0) ++red;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(red, 1000); // the middle of the text is on the screen
}

} // namespace
