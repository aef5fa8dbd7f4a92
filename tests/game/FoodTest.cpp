// The food: the first piece, the spawn clock and its limits, where new pieces
// go, eating and reset.
#include "FieldFixture.h"

#include "game/food.h"
#include "game/snake.h"
#include "game/spriteFile.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

class FoodTest : public FieldFixture {
protected:
    // The pieces from the newest to the oldest, checking the links both ways.
    static std::vector<food::foodPiece*> piecesOf(const food& f) {
        std::vector<food::foodPiece*> pieces;
        food::foodPiece* previous = nullptr;
        for (food::foodPiece* p = f.first; p != nullptr; p = p->next) {
            EXPECT_EQ(p->prev, previous);
            pieces.push_back(p);
            previous = p;
        }
        EXPECT_EQ(pieces.size(), f.pieceCount);
        return pieces;
    }

    static void tick(food& f) { f.onTimer(*f.timer); }
};

TEST_F(FoodTest, TheFirstPieceIsDrawnYThenXThenValue) {
    std::srand(77);
    const int y = std::rand() % 570;
    const int x = std::rand() % 770;
    const int value = std::rand() % 5 + 1;
    std::srand(77);
    const int before = timersInUse();
    food f;
    ASSERT_EQ(piecesOf(f).size(), 1u);
    EXPECT_EQ(f.first->x, x);
    EXPECT_EQ(f.first->y, y);
    EXPECT_EQ(f.first->value, value);
    EXPECT_EQ(&f.first->image, &f.sprites[value - 1]);
    EXPECT_EQ(*f.sprites[value - 1].getTransparentColour(), spriteFile::transparent);
    EXPECT_EQ(f.maxPieces, 5u);
    EXPECT_EQ(f.maxDelay, 10u);
    EXPECT_EQ(f.delay, 0u);
    EXPECT_TRUE(f.timer->isRunning());
    EXPECT_EQ(timersInUse(), before + 1);
}

TEST_F(FoodTest, TheClockSpawnsOnItsFirstTickAndThenWaitsTheDrawnDelay) {
    food f;
    tick(f);
    EXPECT_EQ(f.pieceCount, 2u);
    EXPECT_LT(f.delay, 10u);
    const unsigned int wait = f.delay;
    for (unsigned int i = 0; i < wait; ++i) tick(f);
    EXPECT_EQ(f.pieceCount, 2u);
    EXPECT_EQ(f.delay, 0u);
    tick(f);
    EXPECT_EQ(f.pieceCount, 3u);
}

TEST_F(FoodTest, AtTheLimitTicksStillDrawDelaysButAddNothing) {
    food f;
    f.maxDelay = 1;
    for (int i = 0; i < 4; ++i) tick(f);
    EXPECT_EQ(f.pieceCount, 5u);
    EXPECT_EQ(f.delay, 0u);

    std::srand(5);
    tick(f);
    EXPECT_EQ(f.pieceCount, 5u);
    // The tick drew its delay: the generator moved on by exactly one draw.
    std::srand(5);
    std::rand();
    const int expectedNext = std::rand();
    std::srand(5);
    tick(f);
    EXPECT_EQ(std::rand(), expectedNext);
}

TEST_F(FoodTest, SpawnDrawsXThenYInsideTheMarginThenTheValue) {
    food f;
    f.first->x = -1000; // out of the way of every draw
    std::srand(31);
    const int x = std::rand() % 740 + 30;
    const int y = std::rand() % 540 + 30;
    const int value = std::rand() % 5 + 1;
    std::srand(31);
    f.spawn();
    EXPECT_EQ(f.first->x, x);
    EXPECT_EQ(f.first->y, y);
    EXPECT_EQ(f.first->value, value);
    EXPECT_EQ(piecesOf(f).size(), 2u);
}

TEST_F(FoodTest, APointTooCloseToAPieceIsDrawnAgainOverTheWholeScreen) {
    food f;
    std::srand(31);
    const int firstX = std::rand() % 740 + 30;
    const int firstY = std::rand() % 540 + 30;
    // Within 30 pixels on both axes, the bounds included.
    f.first->x = firstX + 30;
    f.first->y = firstY - 30;
    int x = std::rand() % 800;
    int y = std::rand() % 600;
    while (x >= f.first->x - 30 && x <= f.first->x + 30 && y >= f.first->y - 30 && y <= f.first->y + 30) {
        x = std::rand() % 800;
        y = std::rand() % 600;
    }
    std::srand(31);
    f.spawn();
    EXPECT_EQ(f.first->x, x);
    EXPECT_EQ(f.first->y, y);

    // Many spawns: no two pieces ever closer than the rule allows.
    f.maxPieces = 40;
    for (int i = 0; i < 38; ++i) f.spawn();
    const std::vector<food::foodPiece*> pieces = piecesOf(f);
    ASSERT_EQ(pieces.size(), 40u);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            const bool close = std::abs(pieces[i]->x - pieces[j]->x) <= 30 && std::abs(pieces[i]->y - pieces[j]->y) <= 30;
            // Only the older piece was there to avoid when the newer one came.
            EXPECT_FALSE(close) << i << " and " << j;
        }
    }
}

TEST_F(FoodTest, AHeadReachesAPieceOnlyWhenTheSquaresOverlap) {
    food f;
    snake s;
    food::foodPiece* piece = f.first;
    piece->x = 200;
    piece->y = 200;

    s.head->x = 190; // edges only touch
    s.head->y = 200;
    f.collide(&s);
    EXPECT_EQ(f.pieceCount, 1u);
    s.head->x = 200;
    s.head->y = 170;
    f.collide(&s);
    EXPECT_EQ(f.pieceCount, 1u);

    const int value = piece->value;
    s.head->x = 220; // the corner (hx, hy + 10) lies inside
    s.head->y = 195;
    testing::internal::CaptureStdout();
    f.collide(&s);
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_EQ(f.pieceCount, 0u);
    EXPECT_EQ(f.first, nullptr);
    EXPECT_EQ(s.length, value);
    EXPECT_EQ(trace.rfind("Collide Next: ", 0), 0u) << trace;
    EXPECT_NE(trace.find(" Prev: "), std::string::npos);
    EXPECT_EQ(trace.back(), '\n');
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 1);
}

TEST_F(FoodTest, OnlyTheNewestReachablePieceIsEatenAndTheListStaysLinked) {
    food f;
    f.maxPieces = 10;
    for (int i = 0; i < 3; ++i) f.spawn();
    const std::vector<food::foodPiece*> pieces = piecesOf(f);
    ASSERT_EQ(pieces.size(), 4u);
    // Pieces 1 and 2 (counted from the newest) both lie under the head.
    pieces[0]->x = pieces[3]->x = 600;
    pieces[0]->y = pieces[3]->y = 500;
    pieces[1]->x = pieces[2]->x = 100;
    pieces[1]->y = pieces[2]->y = 100;
    const int newerValue = pieces[1]->value;
    const int olderValue = pieces[2]->value;
    snake s;
    s.head->x = 110;
    s.head->y = 110;

    testing::internal::CaptureStdout();
    f.collide(&s);
    EXPECT_EQ(s.length, newerValue);
    EXPECT_EQ(piecesOf(f), (std::vector<food::foodPiece*>{pieces[0], pieces[2], pieces[3]}));
    f.collide(&s);
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_EQ(s.length, newerValue + olderValue);
    EXPECT_EQ(piecesOf(f), (std::vector<food::foodPiece*>{pieces[0], pieces[3]}));
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 2);

    // The newest piece and then the oldest: the ends of the list stay right.
    s.head->x = 610;
    s.head->y = 510;
    testing::internal::CaptureStdout();
    f.collide(&s);
    EXPECT_EQ(piecesOf(f), (std::vector<food::foodPiece*>{pieces[3]}));
    f.collide(&s);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(f.first, nullptr);
    EXPECT_EQ(f.pieceCount, 0u);
}

TEST_F(FoodTest, ResetKeepsOnlyTheOldestPiece) {
    food f;
    food::foodPiece* oldest = f.first;
    const int x = oldest->x;
    const int y = oldest->y;
    f.maxPieces = 10;
    f.maxDelay = 3;
    f.delay = 2;
    f.spawn();
    f.spawn();
    ASSERT_EQ(f.pieceCount, 3u);
    f.reset();
    EXPECT_EQ(piecesOf(f), (std::vector<food::foodPiece*>{oldest}));
    EXPECT_EQ(oldest->x, x);
    EXPECT_EQ(oldest->y, y);
    EXPECT_EQ(oldest->prev, nullptr);
    EXPECT_EQ(f.maxPieces, 10u);
    EXPECT_EQ(f.maxDelay, 3u);
    EXPECT_EQ(f.delay, 2u);

    // With every piece eaten the list stays empty.
    snake s;
    s.head->x = x;
    s.head->y = y;
    testing::internal::CaptureStdout();
    f.collide(&s);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(f.pieceCount, 0u);
    f.reset();
    EXPECT_EQ(f.first, nullptr);
    EXPECT_EQ(f.pieceCount, 0u);
}

TEST_F(FoodTest, DestroyingTheFoodFreesItsClock) {
    const int before = timersInUse();
    {
        food f;
        f.spawn();
        EXPECT_EQ(timersInUse(), before + 1);
    }
    EXPECT_EQ(timersInUse(), before);
}

} // namespace
