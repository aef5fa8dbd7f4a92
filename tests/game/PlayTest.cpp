// The game objects used directly: the snake, the food, the controllers and the
// play state, with the worked examples they are built to.
#include "GameTest.h"

#include "framework/graphics/Screen.h"
#include "framework/sound/SoundSystem.h"
#include "game/aiController.h"
#include "game/gameState.h"
#include "game/playerController.h"
#include "game/spriteFile.h"
#include "shell/gameOver.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <tuple>
#include <utility>

namespace {

using Cells = std::vector<std::pair<int, int>>;

// The body from the neck to the tail, checking the links both ways.
Cells body(const snake& s) {
    Cells cells;
    const snake::snakeSegment* before = nullptr;
    for (const snake::snakeSegment* seg = s.neck; seg != nullptr; before = seg, seg = seg->next) {
        EXPECT_EQ(seg->prev, before);
        cells.emplace_back(seg->x, seg->y);
    }
    EXPECT_EQ(before, s.tail);
    EXPECT_EQ(cells.size(), static_cast<std::size_t>(s.length) + 1);
    return cells;
}

void place(snake& s, int x, int y, int direction) {
    s.head->x = x;
    s.head->y = y;
    s.direction = direction;
}

void eat(food& f, snake& s) {
    testing::internal::CaptureStdout();
    f.collide(&s);
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(trace.empty() || (trace.rfind("Collide Next: ", 0) == 0 && trace.find(" Prev: ") != std::string::npos));
}

using SnakeTest = FieldTest;

TEST_F(SnakeTest, StepsGrowthAndCrashes) {
    snake a, b;
    EXPECT_EQ(body(a), (Cells{{400, 300}}));
    EXPECT_EQ(a.getName(), "Not Created");
    EXPECT_EQ(snake::collide(&a, &b), &b); // head on its own body until the first step
    a.move();
    EXPECT_EQ(a.head->y, 310);
    EXPECT_EQ(body(a), (Cells{{400, 300}}));
    a.grow(3);
    a.grow(-1);
    EXPECT_EQ(body(a), (Cells{{400, 310}, {400, 310}, {400, 310}, {400, 300}}));
    for (int i = 0; i < 3; ++i) a.move();
    EXPECT_EQ(body(a), (Cells{{400, 330}, {400, 320}, {400, 310}, {400, 310}}));
    EXPECT_EQ(a.head->y, 340);
    EXPECT_EQ(snake::collide(&a, &b), nullptr);
    b.head->y = 320; // b's head on a's body: a wins
    EXPECT_EQ(snake::collide(&a, &b), &a);
    a.head->y = 320; // a's head on its own body is found first
    EXPECT_EQ(snake::collide(&a, &b), &b);

    a.direction = snake::RIGHT;
    a.reset();
    EXPECT_EQ(body(a), (Cells{{400, 300}}));
    EXPECT_EQ(a.direction, snake::RIGHT);
    for (int i = 0; i < 40; ++i) a.move();
    EXPECT_EQ(a.head->x, 800); // off the visible screen, still inside
    EXPECT_EQ(snake::collide(&a, nullptr), nullptr);
    a.move();
    EXPECT_EQ(snake::collide(&a, &b), &b);
    EXPECT_EQ(snake::collide(&a, nullptr), &a);
    a.head->x = 400;
    a.head->y = -10;
    EXPECT_EQ(snake::collide(&a, nullptr), &a);
    a.head->y = 610;
    EXPECT_EQ(snake::collide(&a, nullptr), &a);
}

TEST_F(SnakeTest, SegmentsShareTheSpritesAndTheBodyIsDrawnOverTheHead) {
    app.reset(); // no screen size yet: the snake starts at the origin
    snake s;
    EXPECT_EQ(s.head->x + s.head->y, 0);
    food f; // nor does anything divide by the missing size
    f.spawn();
    EXPECT_EQ(f.pieceCount, 1u);
    food::foodPiece* piece = f.first;
    f.first = nullptr; // no food: the computer draws a random target
    aiController(&s, &f).onTimer(*f.timer);
    f.first = piece;
    {
        ScratchFolder empty; // moving and growing read no file
        s.grow(4);
        s.move();
        EXPECT_THROW(snake(), std::exception);
    }
    EXPECT_EQ(&s.head->image, &s.headSprite);
    for (auto* seg = s.neck; seg != nullptr; seg = seg->next) EXPECT_EQ(&seg->image, &s.bodySprite);

    const lum::Colour ground(1, 2, 3, 255);
    lum::Image drawn(100, 100, ground), expected(100, 100, ground);
    snake fresh; // head and body on (0, 0): the body covers the head
    fresh.draw(drawn);
    expected.drawImage(fresh.headSprite, 0, 0, 10, 10, 0, 0).drawImage(fresh.bodySprite, 0, 0, 10, 10, 0, 0);
    EXPECT_TRUE(std::equal(drawn.getPixels(), drawn.getPixels() + 100 * 100, expected.getPixels()));
    EXPECT_EQ(*fresh.bodySprite.getTransparentColour(), spriteFile::transparent);
    EXPECT_EQ(*fresh.headSprite.getTransparentColour(), spriteFile::transparent);
}

using FoodTest = FieldTest;

TEST_F(FoodTest, PiecesComeInTheirDrawnOrderAndKeepClearOfEachOther) {
    std::srand(77);
    const int y = std::rand() % 570, x = std::rand() % 770, value = std::rand() % 5 + 1;
    const int x2 = std::rand() % 740 + 30, y2 = std::rand() % 540 + 30, value2 = std::rand() % 5 + 1;
    std::srand(77);
    food f;
    EXPECT_EQ(std::make_tuple(f.first->x, f.first->y, f.first->value), std::make_tuple(x, y, value));
    EXPECT_EQ(&f.first->image, &f.sprites[value - 1]);
    food::foodPiece* firstPiece = f.first;
    firstPiece->x = -100;
    std::srand(77);
    for (int i = 0; i < 3; ++i) std::rand();
    f.spawn();
    EXPECT_EQ(std::make_tuple(f.first->x, f.first->y, f.first->value), std::make_tuple(x2, y2, value2));
    // The same draws once more with a piece 30 pixels off on both axes: too
    // close, so the point is drawn again.
    f.first->x = -300;
    firstPiece->x = x2 + 30;
    firstPiece->y = y2 - 30;
    std::srand(77);
    for (int i = 0; i < 3; ++i) std::rand();
    f.spawn();
    EXPECT_NE(std::make_pair(f.first->x, f.first->y), std::make_pair(x2, y2));
    f.onTimer(*f.timer); // the first tick draws the next wait, then spawns
    EXPECT_LT(f.delay, 10u);
    EXPECT_EQ(f.pieceCount, 4u);

    f.maxDelay = 1;
    f.maxPieces = 30;
    for (int i = 0; i < 40; ++i) f.onTimer(*f.timer);
    EXPECT_EQ(f.pieceCount, 30u); // every tick tried; the limit held
    for (auto* p = f.first; p != nullptr; p = p->next) {
        for (auto* q = p->next; q != nullptr; q = q->next) {
            EXPECT_FALSE(std::abs(p->x - q->x) <= 30 && std::abs(p->y - q->y) <= 30);
        }
    }
}

TEST_F(FoodTest, TheNewestPieceUnderTheHeadIsEatenAndResetKeepsTheOldest) {
    food f;
    food::foodPiece* oldest = f.first;
    f.spawn();
    f.spawn();
    food::foodPiece *newest = f.first, *middle = newest->next;
    for (auto* p : {newest, middle}) p->x = p->y = 200;
    oldest->x = oldest->y = 500;
    snake s;
    place(s, 190, 200, 0); // the edges only touch
    eat(f, s);
    EXPECT_EQ(f.pieceCount, 3u);
    const int newestValue = newest->value;
    place(s, 220, 195, 0); // the corner (hx, hy + 10) lies inside
    eat(f, s);
    EXPECT_EQ(s.length, newestValue);
    EXPECT_EQ(f.first, middle);
    EXPECT_EQ(middle->prev, nullptr);
    f.spawn();
    f.reset();
    EXPECT_EQ(f.first, oldest);
    EXPECT_EQ(f.pieceCount, 1u);
    EXPECT_EQ(oldest->prev, nullptr);
    place(s, 500, 500, 0);
    eat(f, s);
    f.reset();
    EXPECT_EQ(f.first, nullptr);
    EXPECT_EQ(f.pieceCount, 0u);
}

using ControllerTest = FieldTest;

TEST_F(ControllerTest, KeysSteerPauseAndHandOverToTheComputer) {
    snake s;
    food f;
    const int timers = timersInUse();
    {
        playerController player(&s, &f);
        s.control = &player;
        key(lum::KEY_DOWN); // no reversal
        EXPECT_EQ(s.direction, snake::UP);
        key(lum::KEY_LEFT);
        key(lum::KEY_UP);
        key(lum::KEY_LEFT, lum::RELEASED); // a release acts too
        EXPECT_EQ(s.direction, snake::LEFT);
        key(lum::KEY_UP);
        s.move();
        s.grow(1);
        s.move();
        key(lum::KEY_LEFT); // left, then down before the next step: onto the neck
        key(lum::KEY_DOWN);
        s.move();
        EXPECT_EQ(snake::collide(&s, nullptr), &s);
        key(lum::KEY_TAB);
        EXPECT_EQ(requests(), "pause");

        key(lum::KEY_F1);
        ASSERT_NE(player.successor, nullptr);
        EXPECT_EQ(s.control, player.successor);
        EXPECT_EQ(s.getName(), "Computer");
        EXPECT_EQ(timersInUse(), timers + 1);
        for (unsigned int code : {lum::KEY_RIGHT, lum::KEY_TAB, lum::KEY_F1}) key(code);
        EXPECT_EQ(s.direction, snake::DOWN);
        EXPECT_EQ(requests(), "");
        EXPECT_EQ(timersInUse(), timers + 1);
        player.suspend(); // a pause stops the computer that took over
        EXPECT_FALSE(player.successor->timer->isRunning());
        player.resume();
        EXPECT_TRUE(player.successor->timer->isRunning());
        EXPECT_FALSE(hears(&player));
    }
    EXPECT_EQ(timersInUse(), timers); // the successor went with its player
}

TEST_F(ControllerTest, TheComputerTurnsTowardTheNewestPieceAndRoundTheCorners) {
    snake s;
    food f;
    aiController ai(&s, &f);
    struct Case {
        int x, y, direction, lastY, expected;
    };
    f.first->x = f.first->y = 100; // the target square: 100..130 both ways
    for (const Case& c : {Case{200, 300, snake::RIGHT, 0, snake::DOWN},  // across, not back
                          Case{110, 300, snake::LEFT, 0, snake::DOWN},   // in the column, target below
                          Case{50, 300, snake::LEFT, 0, snake::DOWN}, Case{50, 300, snake::UP, 0, snake::RIGHT},
                          Case{100, 0, snake::LEFT, 0, snake::LEFT},    // on the column's edge: no change
                          Case{110, 50, snake::DOWN, 60, snake::RIGHT}, // target above, moved down since
                          Case{110, 50, snake::DOWN, 50, snake::DOWN},  // not moved: wait
                          Case{110, 200, snake::UP, 190, snake::LEFT}, Case{110, 120, snake::UP, 0, snake::UP}}) {
        place(s, c.x, c.y, c.direction);
        ai.lastY = c.lastY;
        ai.onTimer(*ai.timer);
        EXPECT_EQ(s.direction, c.expected) << c.x << ", " << c.y;
        EXPECT_EQ(ai.lastY, c.y);
    }

    aiController corners(&s, nullptr);
    for (const Case& c : {Case{0, 0, snake::UP, 0, snake::UP}, Case{0, 590, snake::UP, 0, snake::RIGHT},
                          Case{790, 0, snake::DOWN, 0, snake::LEFT}, Case{790, 0, snake::RIGHT, 0, snake::RIGHT},
                          Case{760, 300, snake::DOWN, 0, snake::DOWN}}) {
        place(s, c.x, c.y, c.direction);
        corners.onTimer(*corners.timer);
        EXPECT_EQ(s.direction, c.expected) << c.x << ", " << c.y;
    }
    place(s, 790, 590, snake::RIGHT);
    const int length = s.length;
    corners.onTimer(*corners.timer);
    EXPECT_EQ(s.direction, snake::DOWN);
    EXPECT_GE(s.length - length, 1);
    EXPECT_LE(s.length - length, 5);
    while (s.length < 40) corners.onTimer(*corners.timer);
    const int grown = s.length;
    corners.onTimer(*corners.timer);
    EXPECT_EQ(s.length, grown);
}

// A match driven by hand: the play state with a game-over state linked.
class PlayStateTest : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        play.reset(new gameState());
        over.reset(new gameOver());
        play->gameOverState = over.get();
    }
    void TearDown() override {
        play.reset();
        EXPECT_EQ(timersInUse(), 0); // the food's clock, the countdown, every controller
        EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
        FieldTest::TearDown();
    }

    std::unique_ptr<gameState> play;
    std::unique_ptr<gameOver> over;
};

TEST_F(PlayStateTest, TheWinnerIsDecidedBeforeAMealInTheSameFrame) {
    play->onActivate();
    place(play->playerSnake, 400, 300, snake::RIGHT);
    place(play->computerSnake, 400, 290, snake::UP); // onto the player's new neck
    play->foodManager.first->x = 400;
    play->foodManager.first->y = 290; // under the player's next head
    const int value = play->foodManager.first->value;
    testing::internal::CaptureStdout();
    play->onUpdate();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(requests(), "game_over");
    EXPECT_EQ(play->playerSnake.length, value);
    EXPECT_EQ(over->resultLine(), "Player 1 has won with " + std::to_string(value) + " points.");
    // Asked again now, the snakes would name the computer: the meal stands on
    // the player's head.
    EXPECT_EQ(snake::collide(&play->playerSnake, &play->computerSnake), &play->computerSnake);
}

TEST_F(PlayStateTest, TheFoodComesFasterAsTheCountdownRunsOut) {
    play->mode = gameState::ONE_PLAYER;
    play->onActivate();
    // At 60 and 30 seconds exactly the calmer row above still holds.
    for (auto row : {std::make_tuple(90u, 5u, 10u), std::make_tuple(89u, 10u, 6u), std::make_tuple(60u, 10u, 6u),
                     std::make_tuple(59u, 20u, 3u), std::make_tuple(30u, 20u, 3u), std::make_tuple(29u, 40u, 1u)}) {
        play->playerSnake.reset();
        play->secondsLeft = std::get<0>(row);
        play->onUpdate();
        EXPECT_EQ(play->foodManager.maxPieces, std::get<1>(row));
        EXPECT_EQ(play->foodManager.maxDelay, std::get<2>(row));
    }
    play->secondsLeft = 0;
    play->onTimer(*play->countdown);
    EXPECT_EQ(requests(), "game_over");
}

TEST_F(PlayStateTest, EveryControllerOfAMatchIsDisposedOfOnceWhenItEnds) {
    for (int mode : {0, 1, 0}) {
        play->mode = mode;
        play->onActivate();
        key(lum::KEY_F1); // the hand-over adds a controller
        play->onDeactivate(); // a pause silences, keeps everything
        app.getKeyListeners().purge(); // as the App does after every switch
        play->paused = true;
        EXPECT_FALSE(play->playerControl->successor->timer->isRunning());
        EXPECT_EQ(lum::SoundSystem::openSystems(), 1);
        play->onActivate();
        EXPECT_TRUE(play->playerControl->successor->timer->isRunning());
        place(play->playerSnake, 400, 600, snake::UP);
        play->onUpdate();
        EXPECT_EQ(requests(), "game_over");
        play->onDeactivate();
        app.getKeyListeners().purge();
        EXPECT_EQ(play->playerSnake.control, nullptr);
        EXPECT_EQ(play->computerSnake.control, nullptr);
        EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
        EXPECT_EQ(timersInUse(), mode == 0 && play->countdown == nullptr ? 1 : 2);
    }
}

TEST_F(PlayStateTest, TheScoreLineIsBrightGreen) {
    lum::Screen screen(800, 600);
    auto green = [&screen](int x1, int x2) { // anything bright green in that stretch of the top line
        for (int y = 555; y < 590; ++y) {
            const lum::Colour* row = screen.getPixels() + y * 800;
            if (std::count(row + x1, row + x2, gameState::scoreColour) > 0) return true;
        }
        return false;
    };
    play->onActivate();
    play->onRender(screen);
    EXPECT_TRUE(green(20, 130));  // "Player 1: " and 0 about (60, 575), (120, 575)
    EXPECT_TRUE(green(640, 750)); // "Computer: " and 0 about (680, 570), (740, 570)
    EXPECT_FALSE(green(300, 500));
    play->onDeactivate();
    play->mode = gameState::ONE_PLAYER;
    play->onActivate();
    screen.clear(lum::Colour(0, 0, 0, 255));
    play->onRender(screen);
    EXPECT_TRUE(green(370, 430)); // 180 about (400, 570), in the large font
    EXPECT_FALSE(green(640, 750));
    play->onDeactivate();
}

} // namespace
