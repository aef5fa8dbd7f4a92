// The snake: building, stepping, growing, crashing, drawing and reset.
#include "FieldFixture.h"
#include "ScratchFolder.h"

#include "framework/graphics/Image.h"
#include "game/snake.h"
#include "game/spriteFile.h"

#include <utility>
#include <vector>

namespace {

using Cells = std::vector<std::pair<int, int>>;

// The body from neck to tail, checking the links both ways on the way.
Cells bodyOf(const snake& s) {
    Cells cells;
    const snake::snakeSegment* previous = nullptr;
    for (const snake::snakeSegment* seg = s.neck; seg != nullptr; seg = seg->next) {
        EXPECT_EQ(seg->prev, previous);
        cells.emplace_back(seg->x, seg->y);
        previous = seg;
    }
    EXPECT_EQ(previous, s.tail);
    EXPECT_EQ(cells.size(), static_cast<std::size_t>(s.length + 1));
    return cells;
}

void steps(snake& s, int count) {
    for (int i = 0; i < count; ++i) s.move();
}

class SnakeTest : public FieldFixture {};

TEST_F(SnakeTest, NewSnakeStandsOnTheCentreHeadingUp) {
    snake s;
    EXPECT_EQ(s.head->x, 400);
    EXPECT_EQ(s.head->y, 300);
    EXPECT_EQ(bodyOf(s), (Cells{{400, 300}}));
    EXPECT_EQ(s.length, 0);
    EXPECT_EQ(s.direction, 0);
    EXPECT_EQ(s.getName(), "Not Created");
    EXPECT_EQ(s.control, nullptr);
}

TEST_F(SnakeTest, BuiltBeforeTheScreenHasASizeItStandsAtTheOrigin) {
    app.reset();
    snake s;
    EXPECT_EQ(s.head->x, 0);
    EXPECT_EQ(s.head->y, 0);
    EXPECT_EQ(bodyOf(s), (Cells{{0, 0}}));
}

TEST_F(SnakeTest, AStepMovesTheHeadAndTheBodyFollows) {
    snake s;
    s.move();
    EXPECT_EQ(s.head->y, 310);
    EXPECT_EQ(bodyOf(s), (Cells{{400, 300}}));
    EXPECT_EQ(s.length, 0);

    const std::pair<int, int> moves[] = {{1, 0}, {0, -1}, {-1, 0}};
    for (int direction = 1; direction <= 3; ++direction) {
        const int x = s.head->x;
        const int y = s.head->y;
        s.direction = direction;
        s.move();
        EXPECT_EQ(s.head->x, x + 10 * moves[direction - 1].first);
        EXPECT_EQ(s.head->y, y + 10 * moves[direction - 1].second);
    }
    // An unknown direction leaves the head where it is; the body still follows.
    s.direction = 7;
    const int x = s.head->x;
    const int y = s.head->y;
    s.move();
    EXPECT_EQ(s.head->x, x);
    EXPECT_EQ(s.head->y, y);
    EXPECT_EQ(bodyOf(s).front(), std::make_pair(x, y));
}

TEST_F(SnakeTest, GrownSegmentsStackOnTheHeadAndThinOutStepByStep) {
    snake s;
    s.move();
    s.grow(3);
    EXPECT_EQ(s.length, 3);
    EXPECT_EQ(bodyOf(s), (Cells{{400, 310}, {400, 310}, {400, 310}, {400, 300}}));
    steps(s, 3);
    EXPECT_EQ(bodyOf(s), (Cells{{400, 330}, {400, 320}, {400, 310}, {400, 310}}));
    EXPECT_EQ(s.head->y, 340);
    EXPECT_EQ(s.length, 3);

    s.grow(0);
    s.grow(-2);
    EXPECT_EQ(s.length, 3);
    EXPECT_EQ(bodyOf(s).size(), 4u);
}

TEST_F(SnakeTest, TheFieldEndsJustBeyondItsSize) {
    snake a;
    snake b;
    b.direction = 0;
    a.direction = 1;
    steps(a, 40);
    ASSERT_EQ(a.head->x, 800);
    EXPECT_EQ(snake::collide(&a, &b), nullptr);
    EXPECT_EQ(snake::collide(&a, nullptr), nullptr);
    a.move();
    EXPECT_EQ(snake::collide(&a, &b), &b);
    EXPECT_EQ(snake::collide(&a, nullptr), &a);

    struct edge {
        int direction;
        int stepsInside;
    };
    // Left to x = 0, down to y = 0, up to y = 600 stay inside; one more is out.
    for (const edge& e : {edge{3, 40}, edge{2, 30}, edge{0, 30}}) {
        a.reset();
        a.direction = e.direction;
        steps(a, e.stepsInside);
        EXPECT_EQ(snake::collide(&a, &b), nullptr) << "direction " << e.direction;
        a.move();
        EXPECT_EQ(snake::collide(&a, &b), &b) << "direction " << e.direction;
    }
}

TEST_F(SnakeTest, TheOtherHeadOnTheBodyMakesTheBodysOwnerWin) {
    snake a;
    snake b;
    steps(a, 2); // body (400, 310), head (400, 320)
    b.head->x = a.neck->x;
    b.head->y = a.neck->y;
    EXPECT_EQ(snake::collide(&a, &b), &a);
    // Only a's body counts: b's head on a's head is no hit.
    b.head->y = a.head->y;
    EXPECT_EQ(snake::collide(&a, &b), nullptr);
}

TEST_F(SnakeTest, ASelfHitIsFoundBeforeTheOtherHeadOnTheSameSegment) {
    snake a;
    snake b;
    steps(a, 2);
    a.head->x = a.neck->x;
    a.head->y = a.neck->y;
    b.head->x = a.neck->x;
    b.head->y = a.neck->y;
    EXPECT_EQ(snake::collide(&a, &b), &b);
}

TEST_F(SnakeTest, ResetSnakeHitsItselfUntilItsFirstStep) {
    snake a;
    snake b;
    a.direction = 2;
    a.name = "Player 1";
    steps(a, 5);
    a.grow(4);
    a.reset();
    EXPECT_EQ(bodyOf(a), (Cells{{400, 300}}));
    EXPECT_EQ(a.head->x, 400);
    EXPECT_EQ(a.head->y, 300);
    EXPECT_EQ(a.length, 0);
    EXPECT_EQ(a.direction, 2);
    EXPECT_EQ(a.name, "Player 1");
    EXPECT_EQ(snake::collide(&a, &b), &b);
    EXPECT_EQ(snake::collide(&a, nullptr), &a);
    a.move();
    EXPECT_EQ(snake::collide(&a, nullptr), nullptr);
}

TEST_F(SnakeTest, SegmentsShareTheSnakesSpritesAndMovingReadsNoFile) {
    snake s;
    {
        // Without the sprite files at hand the snake still moves and grows.
        ScratchFolder empty;
        steps(s, 3);
        s.grow(5);
        steps(s, 3);
    }
    EXPECT_EQ(&s.head->image, &s.headSprite);
    for (const snake::snakeSegment* seg = s.neck; seg != nullptr; seg = seg->next) {
        EXPECT_EQ(&seg->image, &s.bodySprite);
    }
    ASSERT_NE(s.bodySprite.getTransparentColour(), nullptr);
    EXPECT_EQ(*s.bodySprite.getTransparentColour(), spriteFile::transparent);
    ASSERT_NE(s.headSprite.getTransparentColour(), nullptr);
    EXPECT_EQ(*s.headSprite.getTransparentColour(), spriteFile::transparent);
}

TEST_F(SnakeTest, WithoutItsSpritesASnakeCannotBeBuilt) {
    ScratchFolder empty;
    EXPECT_THROW(snake s, std::exception);
}

// Each cell shows the bottom-left 10 x 10 of its sprite drawn there, magenta
// left out; the body is drawn over the head.
TEST_F(SnakeTest, DrawsHeadThenBodyWithMagentaLeftOut) {
    const lum::Colour ground(1, 2, 3, 255);
    snake s;
    s.move(); // head (400, 310), body (400, 300)
    s.direction = 1;
    s.move(); // head (410, 310), body (400, 310)
    s.head->x = 400;
    s.head->y = 300; // the head alone on (400, 300)
    lum::Image target(800, 600, ground);
    s.draw(target);

    auto expectCell = [&ground](const lum::Image& drawn, const lum::Image& sprite, int cellX, int cellY) {
        lum::Image expected(10, 10, ground);
        expected.drawImage(sprite, 0, 0, 10, 10, 0, 0);
        for (unsigned int y = 0; y < 10; ++y) {
            for (unsigned int x = 0; x < 10; ++x) {
                ASSERT_EQ(drawn.getPixel(cellX + x, cellY + y), expected.getPixel(x, y)) << x << ", " << y;
                if (sprite.getPixel(x, y) == spriteFile::transparent) {
                    EXPECT_EQ(drawn.getPixel(cellX + x, cellY + y), ground);
                }
            }
        }
    };
    expectCell(target, s.headSprite, 400, 300);
    expectCell(target, s.bodySprite, 400, 310);
    // Nothing else was touched.
    EXPECT_EQ(target.getPixel(410, 310), ground);
    EXPECT_EQ(target.getPixel(399, 300), ground);

    // A body segment on the head's cell covers the head.
    lum::Image covered(800, 600, ground);
    snake fresh;
    fresh.draw(covered);
    lum::Image bodyOverHead(10, 10, ground);
    bodyOverHead.drawImage(fresh.headSprite, 0, 0, 10, 10, 0, 0);
    bodyOverHead.drawImage(fresh.bodySprite, 0, 0, 10, 10, 0, 0);
    for (unsigned int y = 0; y < 10; ++y) {
        for (unsigned int x = 0; x < 10; ++x) {
            ASSERT_EQ(covered.getPixel(400 + x, 300 + y), bodyOverHead.getPixel(x, y)) << x << ", " << y;
        }
    }
}

} // namespace
