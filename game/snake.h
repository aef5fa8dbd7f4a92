// A snake: a head and a chain of body segments that crawls over the field one
// 10-pixel cell per step. Its owner moves it, tests it for crashes and draws
// it once per frame; a controller writes its direction, the food makes it grow.
#pragma once

#include "framework/graphics/Image.h"

#include <string>

class controller;

class snake {
public:
    // One cell of the snake. Every segment draws one of its snake's sprites,
    // loaded once when the snake was built, so moving and growing read no file.
    class snakeSegment {
    public:
        snakeSegment(const lum::Image& image, int x, int y, snakeSegment* next);
        virtual ~snakeSegment() = default;
        snakeSegment(const snakeSegment&) = delete;
        snakeSegment& operator=(const snakeSegment&) = delete;

        const lum::Image& image;
        int x;
        int y;
        snakeSegment* next; // toward the tail; null at the tail
        snakeSegment* prev; // toward the head; null at the neck
    };

    // Direction codes: opposite directions differ by exactly 2.
    enum { UP = 0, RIGHT = 1, DOWN = 2, LEFT = 3 };
    static constexpr int CELL = 10;

    // Reads "snakeBit.bmp" and "snakeHead.bmp"; throws when either cannot be read.
    snake();
    virtual ~snake();
    snake(const snake&) = delete;
    snake& operator=(const snake&) = delete;

    void grow(int n);
    void move();
    void draw(lum::Image& target);
    // The winner of a crash of a (into itself or off the field) or of b's head
    // into a's body; a when a crashed alone with no b; null when nothing hit.
    static snake* collide(snake* a, snake* b);
    // Back to one body segment under the head at the screen centre; the
    // direction, name and controller stay.
    void reset();
    std::string getName() const;

    controller* control = nullptr; // set and disposed of by the owner
    int direction = UP;
    int length = 0;
    snakeSegment* neck = nullptr;
    snakeSegment* tail = nullptr;
    snakeSegment* head = nullptr;
    std::string name = "Not Created";

    lum::Image bodySprite;
    lum::Image headSprite;

private:
    void build();
    void dispose();
    static bool sameCell(const snakeSegment& first, const snakeSegment& second);
    static bool offField(const snakeSegment& segment);
};
