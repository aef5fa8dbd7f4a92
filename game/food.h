// The pieces of food on the field: a one-second spawn clock adds pieces at
// random free places, and a snake whose head reaches a piece eats it and grows
// by its worth.
#pragma once

#include "framework/ITimerEvent.h"
#include "framework/Timer.h"
#include "framework/graphics/Image.h"

class snake;

class food : public lum::ITimerEvent {
public:
    // One piece of food worth 1 to 5 segments, covering a 30 x 30 square.
    class foodPiece {
    public:
        // Draws the piece's value; its picture is the food's sprite of that value.
        foodPiece(const lum::Image* sprites, foodPiece* next, int x, int y);
        virtual ~foodPiece() = default;
        foodPiece(const foodPiece&) = delete;
        foodPiece& operator=(const foodPiece&) = delete;

        int value;
        const lum::Image& image;
        int x;
        int y;
        foodPiece* next; // the next, older piece
        foodPiece* prev; // the newer piece; null for the first
    };

    static constexpr int PIECE_SIZE = 30;
    static constexpr int VALUES = 5;

    // Reads food1.bmp to food5.bmp, lays the first piece and starts the clock.
    food();
    ~food() override;
    food(const food&) = delete;
    food& operator=(const food&) = delete;

    void onTimer(lum::Timer& timer) override;
    void spawn();
    // Eats at most one piece under the snake's head, the newest one first.
    void collide(snake* s);
    // Cuts the list back to its oldest piece.
    void reset();

    lum::Timer* timer = nullptr;
    unsigned int maxPieces = 5;
    unsigned int pieceCount = 0;
    unsigned int maxDelay = 10;
    unsigned int delay = 0;
    foodPiece* first = nullptr;

    lum::Image sprites[VALUES]; // food1.bmp .. food5.bmp

private:
    static bool tooClose(const foodPiece& piece, int x, int y);
    static bool reached(const foodPiece& piece, int headX, int headY);
    void addPiece(int x, int y);
    void unlink(foodPiece* piece);
};
