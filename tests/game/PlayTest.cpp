// The game objects used directly: the snake, the food, the controllers and the
// play state, with the worked examples they are built to.
#include "GameTest.h"

#include "framework/graphics/Colour.h"
#include "game/aiController.h"
#include "game/playerController.h"

#include <memory>
#include <tuple>

namespace {

using Cells = std::vector<std::pair<int, int>>;
enum { UP = snake::UP, RIGHT = snake::RIGHT, DOWN = snake::DOWN, LEFT = snake::LEFT };

// The head, then the body from the neck to the tail, checking the links both ways.
Cells cells(const snake& s) {
    Cells found{{s.head->x, s.head->y}};
    const snake::snakeSegment* before = nullptr;
    for (const snake::snakeSegment* seg = s.neck; seg != nullptr; before = seg, seg = seg->next) {
        EXPECT_EQ(seg->prev, before);
        found.emplace_back(seg->x, seg->y);
    }
    EXPECT_EQ(before, s.tail);
    EXPECT_EQ(found.size(), static_cast<std::size_t>(s.length) + 2);
    return found;
}

void place(snake& s, int x, int y, int direction) { s.head->x = x, s.head->y = y, s.direction = direction; }

using SnakeTest = FieldTest;

TEST_F(SnakeTest, StepsGrowthAndCrashes) {
    snake a, b;
    EXPECT_EQ(cells(a), (Cells{{400, 300}, {400, 300}}));
    EXPECT_EQ(a.getName(), "Not Created");
    EXPECT_EQ(*a.bodySprite.getTransparentColour(), lum::Colour(255, 0, 255, 255)); // magenta is not drawn
    EXPECT_EQ(snake::collide(&a, &b), &b); // head on its own body until the first step
    a.move();
    EXPECT_EQ(cells(a), (Cells{{400, 310}, {400, 300}}));
    a.grow(3);
    a.grow(-1);
    EXPECT_EQ(cells(a), (Cells{{400, 310}, {400, 310}, {400, 310}, {400, 310}, {400, 300}}));
    for (int i = 0; i < 3; ++i) a.move();
    EXPECT_EQ(cells(a), (Cells{{400, 340}, {400, 330}, {400, 320}, {400, 310}, {400, 310}}));
    EXPECT_EQ(snake::collide(&a, &b), nullptr);
    b.head->y = 320; // b's head on a's body: a wins
    EXPECT_EQ(snake::collide(&a, &b), &a);
    a.head->y = 320; // a's head on its own body is found first
    EXPECT_EQ(snake::collide(&a, &b), &b);

    a.direction = RIGHT;
    a.reset();
    a.move(); // the direction outlived the reset
    EXPECT_EQ(cells(a), (Cells{{410, 300}, {400, 300}}));
    // x = 800 and y = 600 are off the visible screen but still inside.
    for (auto [x, y, out] : {std::tuple{800, 300, false}, {400, 600, false}, {810, 300, true}, {-10, 300, true},
                             {400, 610, true}, {400, -10, true}}) {
        place(a, x, y, RIGHT);
        EXPECT_EQ(snake::collide(&a, &b), out ? &b : nullptr) << x << ", " << y;
        EXPECT_EQ(snake::collide(&a, nullptr), out ? &a : nullptr) << x << ", " << y;
    }
}

using FoodTest = FieldTest;

TEST_F(FoodTest, PiecesComeInTheirDrawnOrderAndKeepClearOfEachOther) {
    food f;
    EXPECT_LT(std::make_pair(f.first->x, f.first->y), std::make_pair(770, 570));
    EXPECT_EQ(&f.first->image, &f.sprites[f.first->value - 1]);
    food::foodPiece* firstPiece = f.first;
    firstPiece->x = -100;
    std::srand(5);
    f.spawn();
    const auto drawn = std::make_pair(f.first->x, f.first->y);
    // The same draws with a piece exactly 30 pixels off on both axes: the
    // point is drawn again.
    f.first->x = -300;
    firstPiece->x = drawn.first + 30;
    firstPiece->y = drawn.second - 30;
    std::srand(5);
    f.spawn();
    EXPECT_NE(std::make_pair(f.first->x, f.first->y), drawn);
    f.onTimer(*f.timer); // the first tick draws the next wait, then spawns
    EXPECT_LT(f.delay, 10u);
    EXPECT_EQ(f.pieceCount, 4u);

    f.maxDelay = 1;
    f.maxPieces = 30;
    for (int i = 0; i < 40; ++i) f.onTimer(*f.timer);
    EXPECT_EQ(f.pieceCount, 30u); // every tick tried; the limit held
    for (auto* p = f.first; p != nullptr; p = p->next)
        for (auto* q = p->next; q != nullptr; q = q->next)
            EXPECT_FALSE(std::abs(p->x - q->x) <= 30 && std::abs(p->y - q->y) <= 30);
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
    f.collide(&s);
    EXPECT_EQ(f.pieceCount, 3u);
    const int newestValue = newest->value;
    place(s, 220, 195, 0); // the corner (hx, hy + 10) lies inside
    f.collide(&s);
    EXPECT_EQ(s.length, newestValue);
    EXPECT_EQ(std::make_tuple(f.first, middle->prev, f.pieceCount), std::make_tuple(middle, nullptr, 2u));
    f.reset();
    EXPECT_EQ(std::make_tuple(f.first, oldest->prev, f.pieceCount), std::make_tuple(oldest, nullptr, 1u));
    place(s, 500, 500, 0);
    f.collide(&s);
    f.reset();
    EXPECT_EQ(std::make_pair(f.first, f.pieceCount), std::make_pair(static_cast<food::foodPiece*>(nullptr), 0u));
}

using ControllerTest = FieldTest;

TEST_F(ControllerTest, ArrowKeysSteerWithoutReversing) {
    snake s;
    food f;
    playerController player(&s, &f);
    key(lum::KEY_DOWN); // no reversal
    EXPECT_EQ(s.direction, UP);
    key(lum::KEY_LEFT);
    key(lum::KEY_UP);
    key(lum::KEY_LEFT, lum::RELEASED); // a release acts too
    EXPECT_EQ(s.direction, LEFT);
    key(lum::KEY_UP);
    s.move();
    s.grow(1);
    s.move();
    key(lum::KEY_LEFT); // left, then down before the next step: onto the neck
    key(lum::KEY_DOWN);
    s.move();
    EXPECT_EQ(snake::collide(&s, nullptr), &s);
}

TEST_F(ControllerTest, TheComputerTurnsTowardTheNewestPieceAndRoundTheCorners) {
    snake s;
    food f;
    aiController ai(&s, &f), edge(&s, nullptr);
    struct Case { aiController* by; int x, y, direction, expected, lastY = 0; };
    f.first->x = f.first->y = 100; // the target square: 100..130 both ways
    // Toward the food: across, not back; in the column with the target below;
    // on the column's edge no change; target above and moved down since, or
    // not moved: wait. Then round the corners of the field.
    for (const Case& c : {Case{&ai, 200, 300, RIGHT, DOWN}, {&ai, 110, 300, LEFT, DOWN}, {&ai, 50, 300, LEFT, DOWN},
                          {&ai, 50, 300, UP, RIGHT}, {&ai, 100, 0, LEFT, LEFT}, {&ai, 110, 50, DOWN, RIGHT, 60},
                          {&ai, 110, 50, DOWN, DOWN, 50}, {&ai, 110, 200, UP, LEFT, 190}, {&ai, 110, 120, UP, UP},
                          {&edge, 0, 0, UP, UP}, {&edge, 0, 590, UP, RIGHT}, {&edge, 790, 0, DOWN, LEFT},
                          {&edge, 790, 0, RIGHT, RIGHT}, {&edge, 760, 300, DOWN, DOWN},
                          {&edge, 790, 590, RIGHT, DOWN}}) {
        place(s, c.x, c.y, c.direction);
        c.by->lastY = c.lastY;
        c.by->onTimer(*c.by->timer);
        // Steering toward food records the head's y; the corners leave it be.
        const int lastY = c.by == &ai ? c.y : c.lastY;
        EXPECT_EQ(std::make_pair(s.direction, c.by->lastY), std::make_pair(c.expected, lastY)) << c.x << "," << c.y;
    }
    EXPECT_TRUE(s.length >= 1 && s.length <= 5) << s.length; // grown in the top-right corner
    while (s.length < 40) edge.onTimer(*edge.timer);
    const int grown = s.length;
    edge.onTimer(*edge.timer);
    EXPECT_EQ(s.length, grown);
}

// A match driven by hand: the play state, built before the screen has a size
// as in the program, with a game-over state linked.
class PlayStateTest : public FieldTest {
protected:
    PlayStateTest() { play->gameOverState = &over; }
    void TearDown() override {
        play.reset();
        EXPECT_EQ(timersInUse(), 0); // the food's clock, the countdown, every controller
        EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
    }

    gameOver over;
    std::unique_ptr<gameState> play{new gameState()};
};

TEST_F(PlayStateTest, TheWinnerIsDecidedBeforeAMealInTheSameFrame) {
    play->onActivate();
    place(play->playerSnake, 400, 300, RIGHT);
    place(play->computerSnake, 400, 290, UP); // onto the player's new neck
    play->foodManager.first->x = 400, play->foodManager.first->y = 290; // under the player's next head
    const int value = play->foodManager.first->value;
    testing::internal::CaptureStdout();
    play->onUpdate();
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("Collide Next: 0 Prev: 0\n", 0), 0u);
    EXPECT_EQ(play->playerSnake.length, value);
    EXPECT_EQ(over.resultLine(), "Player 1 has won with " + std::to_string(value) + " points.");
    // Asked again now, the snakes would name the computer: the meal stands on
    // the player's head.
    EXPECT_EQ(snake::collide(&play->playerSnake, &play->computerSnake), &play->computerSnake);
}

TEST_F(PlayStateTest, TheFoodComesFasterAsTheCountdownRunsOut) {
    play->mode = gameState::ONE_PLAYER;
    play->onActivate();
    // At 60 and 30 seconds exactly the calmer row above still holds.
    for (auto [seconds, pieces, delay] : {std::tuple{90u, 5u, 10u}, {89u, 10u, 6u}, {60u, 10u, 6u}, {59u, 20u, 3u},
                                          {30u, 20u, 3u}, {29u, 40u, 1u}}) {
        play->secondsLeft = seconds;
        play->onUpdate();
        const food& f = play->foodManager;
        EXPECT_EQ(std::make_pair(f.maxPieces, f.maxDelay), std::make_pair(pieces, delay)) << seconds;
    }
}

// Paused, a match's controllers are kept and stopped; over, they are disposed
// of once, the computer that took the player's snake over (whose keys it no
// longer hears) included.
TEST_F(PlayStateTest, EveryControllerOfAMatchIsDisposedOfOnceWhenItEnds) {
    for (int mode : {0, 1, 0}) {
        play->mode = mode;
        play->onActivate();
        key(lum::KEY_F1);
        const int direction = play->playerSnake.direction;
        for (unsigned int code : {lum::KEY_RIGHT, lum::KEY_LEFT, lum::KEY_F1}) key(code);
        EXPECT_EQ(play->playerSnake.direction, direction);
        EXPECT_EQ(timersInUse(), 2 + (mode == 0) + (play->countdown != nullptr));
        aiController* computer = play->computerControl;
        play->onDeactivate();
        app.getKeyListeners().purge(); // as the App does after every switch
        play->paused = true;
        EXPECT_TRUE(computer == nullptr || !computer->timer->isRunning()); // no steering while paused
        play->onActivate();
        EXPECT_TRUE(computer == nullptr || computer->timer->isRunning());
        place(play->playerSnake, 400, 600, UP);
        play->onUpdate();
        play->onDeactivate();
        EXPECT_EQ(play->playerSnake.control, nullptr);
        EXPECT_EQ(lum::SoundSystem::openSystems(), 0);
        EXPECT_EQ(timersInUse(), 1 + (play->countdown != nullptr));
    }
}

} // namespace
