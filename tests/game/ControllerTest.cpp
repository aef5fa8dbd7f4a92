// The controllers: keys to directions, pause and hand-over keys, the
// computer's steering toward food and around the corners, and their clocks.
#include "FieldFixture.h"

#include "game/aiController.h"
#include "game/food.h"
#include "game/playerController.h"
#include "game/snake.h"

#include <cstdlib>

namespace {

class ControllerTest : public FieldFixture {
protected:
    // Whether the App would deliver a key event to the listener.
    bool hears(lum::IKeyEvent& listener) {
        for (const auto& entry : app.getKeyListeners().getEntries()) {
            if (entry.listener == &listener && entry.active && !entry.removed) return true;
        }
        return false;
    }

    static void tick(aiController& ai) { ai.onTimer(*ai.timer); }

    snake s;
    food f;
};

TEST_F(ControllerTest, ArrowsTurnTheSnakeButNeverStraightBack) {
    playerController player(&s, &f);
    EXPECT_TRUE(hears(player));
    key(lum::KEY_DOWN);
    EXPECT_EQ(s.direction, snake::UP);
    key(lum::KEY_LEFT);
    EXPECT_EQ(s.direction, snake::LEFT);
    key(lum::KEY_RIGHT);
    EXPECT_EQ(s.direction, snake::LEFT);
    key(lum::KEY_UP);
    EXPECT_EQ(s.direction, snake::UP);
    key(lum::KEY_RIGHT);
    EXPECT_EQ(s.direction, snake::RIGHT);
    key(lum::KEY_DOWN);
    EXPECT_EQ(s.direction, snake::DOWN);
    key('a');
    key(lum::KEY_SPACE);
    EXPECT_EQ(s.direction, snake::DOWN);
}

TEST_F(ControllerTest, ReleasedKeysActAsWell) {
    playerController player(&s, &f);
    key(lum::KEY_LEFT, lum::PRESSED);
    key(lum::KEY_LEFT, lum::RELEASED);
    EXPECT_EQ(s.direction, snake::LEFT);
    // Left held, Up pressed and Left released: the release turns left again.
    s.direction = snake::UP;
    key(lum::KEY_LEFT, lum::PRESSED);
    key(lum::KEY_UP, lum::PRESSED);
    EXPECT_EQ(s.direction, snake::UP);
    key(lum::KEY_LEFT, lum::RELEASED);
    EXPECT_EQ(s.direction, snake::LEFT);
}

TEST_F(ControllerTest, TwoQuickTurnsRunTheHeadIntoItsNeck) {
    playerController player(&s, &f);
    s.move();
    s.grow(1);
    s.move();
    ASSERT_EQ(snake::collide(&s, nullptr), nullptr);
    key(lum::KEY_LEFT);
    key(lum::KEY_DOWN);
    EXPECT_EQ(s.direction, snake::DOWN);
    s.move();
    EXPECT_EQ(snake::collide(&s, nullptr), &s);
}

TEST_F(ControllerTest, TabAsksForThePauseScreen) {
    playerController player(&s, &f);
    key(lum::KEY_TAB);
    EXPECT_EQ(requestedState(), "pause");
}

TEST_F(ControllerTest, F1HandsTheSnakeToTheComputerForGood) {
    const int before = timersInUse();
    {
        playerController player(&s, &f);
        s.control = &player;
        s.name = "Player 1";
        key(lum::KEY_F1);
        ASSERT_NE(player.successor, nullptr);
        EXPECT_EQ(s.control, player.successor);
        EXPECT_EQ(player.successor->controlledSnake, &s);
        EXPECT_EQ(player.successor->foodManager, &f);
        EXPECT_EQ(s.name, "Computer");
        EXPECT_EQ(timersInUse(), before + 1);
        EXPECT_FALSE(hears(player));

        // Neither arrows nor Tab nor a second F1 do anything now.
        key(lum::KEY_F1, lum::RELEASED);
        key(lum::KEY_F1);
        EXPECT_EQ(timersInUse(), before + 1);
        key(lum::KEY_LEFT);
        EXPECT_EQ(s.direction, snake::UP);
        key(lum::KEY_TAB);
        EXPECT_EQ(requestedState(), "");

        // A pause stops the computer's clock; the player stays deaf on resume.
        player.suspend();
        EXPECT_FALSE(player.successor->timer->isRunning());
        player.resume();
        EXPECT_TRUE(player.successor->timer->isRunning());
        EXPECT_FALSE(hears(player));
    }
    // The player's controller disposes of the computer it handed over to.
    EXPECT_EQ(timersInUse(), before);
}

TEST_F(ControllerTest, WhileSuspendedThePlayerIsNotHeard) {
    playerController player(&s, &f);
    player.suspend();
    player.suspend();
    EXPECT_FALSE(hears(player));
    app.getKeyListeners().purge(); // as after the switch to the pause screen
    key(lum::KEY_LEFT);
    key(lum::KEY_TAB);
    EXPECT_EQ(s.direction, snake::UP);
    EXPECT_EQ(requestedState(), "");
    player.resume();
    EXPECT_TRUE(hears(player));
    key(lum::KEY_LEFT);
    EXPECT_EQ(s.direction, snake::LEFT);
    EXPECT_EQ(app.getKeyListeners().size(), 1u);
}

TEST_F(ControllerTest, TheComputerTurnsAcrossRatherThanBack) {
    aiController ai(&s, &f);
    f.first->x = 100;
    f.first->y = 100;
    // Target to the left while heading right: down, not left.
    s.head->x = 200;
    s.head->y = 300;
    s.direction = snake::RIGHT;
    tick(ai);
    EXPECT_EQ(s.direction, snake::DOWN);
    EXPECT_EQ(ai.lastY, 300);
    // Target to the right while heading left: down as well.
    s.head->x = 50;
    s.direction = snake::LEFT;
    tick(ai);
    EXPECT_EQ(s.direction, snake::DOWN);
    s.direction = snake::UP;
    tick(ai);
    EXPECT_EQ(s.direction, snake::RIGHT);
    // In the target's column, target below, heading left: down.
    s.head->x = 110;
    s.direction = snake::LEFT;
    tick(ai);
    EXPECT_EQ(s.direction, snake::DOWN);
}

TEST_F(ControllerTest, OnTheColumnsEdgeTheComputerKeepsItsWay) {
    aiController ai(&s, &f);
    f.first->x = 100;
    f.first->y = 100;
    for (int x : {100, 130}) {
        for (int y : {0, 300}) {
            s.head->x = x;
            s.head->y = y;
            s.direction = snake::LEFT;
            tick(ai);
            EXPECT_EQ(s.direction, snake::LEFT) << x << ", " << y;
        }
    }
    // Level with the target inside its column: no change either.
    s.head->x = 110;
    s.head->y = 130;
    tick(ai);
    EXPECT_EQ(s.direction, snake::LEFT);
}

TEST_F(ControllerTest, HeadingAwayTheComputerTurnsOnlyOnceItHasMoved) {
    aiController ai(&s, &f);
    f.first->x = 100;
    f.first->y = 300;
    s.head->x = 110;
    // Target above, heading down: right once the head has gone down.
    s.head->y = 200;
    s.direction = snake::DOWN;
    ai.lastY = 200;
    tick(ai);
    EXPECT_EQ(s.direction, snake::DOWN);
    s.head->y = 190;
    tick(ai);
    EXPECT_EQ(s.direction, snake::RIGHT);
    s.direction = snake::LEFT;
    tick(ai);
    EXPECT_EQ(s.direction, snake::UP);
    // Target below, heading up: left once the head has gone up.
    s.head->y = 400;
    ai.lastY = 400;
    tick(ai);
    EXPECT_EQ(s.direction, snake::UP);
    s.head->y = 410;
    tick(ai);
    EXPECT_EQ(s.direction, snake::LEFT);
    EXPECT_EQ(ai.lastY, 410);
}

TEST_F(ControllerTest, WithoutFoodTheTargetIsDrawnAfreshEveryTick) {
    aiController ai(&s, &f);
    testing::internal::CaptureStdout();
    s.head->x = f.first->x;
    s.head->y = f.first->y;
    f.collide(&s);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(f.first, nullptr);

    // Two draws per tick: x in 1..600, then y in 1..400.
    std::srand(9);
    const int tx = std::rand() % 600 + 1;
    std::rand();
    const int third = std::rand();
    std::srand(9);
    s.head->x = tx - 10;
    s.head->y = 500;
    s.direction = snake::UP;
    tick(ai);
    EXPECT_EQ(s.direction, snake::RIGHT);
    EXPECT_EQ(std::rand(), third);
}

TEST_F(ControllerTest, InCornerModeTheSnakeRunsClockwiseAndGrowsTopRight) {
    aiController ai(&s, nullptr);
    struct corner {
        int x, y, from, to;
    };
    const corner corners[] = {
        {0, 0, snake::UP, snake::UP},          // bottom left asks for up
        {0, 0, snake::LEFT, snake::UP},
        {0, 590, snake::UP, snake::RIGHT},     // top left
        {790, 0, snake::DOWN, snake::LEFT},    // bottom right
        {790, 0, snake::RIGHT, snake::RIGHT},  // never straight back
        {400, 300, snake::DOWN, snake::DOWN},  // nowhere near a corner
        {760, 560, snake::RIGHT, snake::RIGHT} // the zones end short of 40
    };
    for (const corner& c : corners) {
        s.head->x = c.x;
        s.head->y = c.y;
        s.direction = c.from;
        tick(ai);
        EXPECT_EQ(s.direction, c.to) << c.x << ", " << c.y;
        EXPECT_EQ(s.length, 0);
    }

    s.head->x = 790;
    s.head->y = 590;
    s.direction = snake::RIGHT;
    ai.lastY = -5;
    tick(ai);
    EXPECT_EQ(s.direction, snake::DOWN);
    EXPECT_GE(s.length, 1);
    EXPECT_LE(s.length, 5);
    EXPECT_EQ(ai.lastY, -5);
    while (s.length < 40) tick(ai);
    EXPECT_LE(s.length, 44);
    const int length = s.length;
    std::srand(3);
    const int next = std::rand();
    std::srand(3);
    tick(ai);
    EXPECT_EQ(s.length, length);
    EXPECT_EQ(std::rand(), next); // nothing drawn once grown
}

TEST_F(ControllerTest, TheComputersClockRunsFromBirthAndStopsWhenSuspended) {
    const int before = timersInUse();
    {
        aiController ai(&s, &f);
        EXPECT_EQ(ai.lastY, s.head->y);
        EXPECT_EQ(ai.timer->getID(), 0);
        EXPECT_TRUE(ai.timer->isRunning());
        EXPECT_EQ(timersInUse(), before + 1);
        ai.suspend();
        EXPECT_FALSE(ai.timer->isRunning());
        ai.resume();
        EXPECT_TRUE(ai.timer->isRunning());
    }
    EXPECT_EQ(timersInUse(), before);
}

} // namespace
