// The snake's body is a hand-made doubly linked list from the neck (newest) to
// the tail (oldest); the head stands outside it. A step grows the body at the
// head's cell, drops the tail and moves the head, so the body follows the head.
#include "game/snake.h"

#include "framework/App.h"
#include "game/spriteFile.h"

snake::snakeSegment::snakeSegment(const lum::Image& image, int x, int y, snakeSegment* next)
    : image(image), x(x), y(y), next(next), prev(nullptr) {
    if (next != nullptr) next->prev = this;
}

snake::snake() {
    spriteFile::load(bodySprite, "snakeBit.bmp");
    spriteFile::load(headSprite, "snakeHead.bmp");
    build();
}

snake::~snake() {
    dispose();
}

void snake::build() {
    // The size is read now: before the App runs it is 0 x 0 and the snake
    // starts at the origin until its next reset.
    const int x = static_cast<int>(lum::application.getScreenWidth() / 2);
    const int y = static_cast<int>(lum::application.getScreenHeight() / 2);
    head = new snakeSegment(headSprite, x, y, nullptr);
    neck = tail = new snakeSegment(bodySprite, x, y, nullptr);
    length = 0;
}

void snake::dispose() {
    while (neck != nullptr) {
        snakeSegment* following = neck->next;
        delete neck;
        neck = following;
    }
    tail = nullptr;
    delete head;
    head = nullptr;
}

void snake::grow(int n) {
    for (int i = 0; i < n; ++i) {
        neck = new snakeSegment(bodySprite, head->x, head->y, neck);
        ++length;
    }
}

void snake::move() {
    grow(1);
    // The body holds at least two segments now, so the tail has a neighbour.
    snakeSegment* oldTail = tail;
    tail = oldTail->prev;
    tail->next = nullptr;
    delete oldTail;
    --length;

    switch (direction) {
    case UP: head->y += CELL; break;
    case RIGHT: head->x += CELL; break;
    case DOWN: head->y -= CELL; break;
    case LEFT: head->x -= CELL; break;
    default: break;
    }
}

void snake::draw(lum::Image& target) {
    target.drawImage(head->image, 0, 0, CELL, CELL, head->x, head->y);
    for (snakeSegment* s = neck; s != nullptr; s = s->next) {
        target.drawImage(s->image, 0, 0, CELL, CELL, s->x, s->y);
    }
}

bool snake::sameCell(const snakeSegment& first, const snakeSegment& second) {
    return first.x == second.x && first.y == second.y;
}

bool snake::offField(const snakeSegment& segment) {
    // Strictly beyond the size: a head at x = 800 or y = 600 still counts as in.
    const int width = static_cast<int>(lum::application.getScreenWidth());
    const int height = static_cast<int>(lum::application.getScreenHeight());
    return segment.y < 0 || segment.y > height || segment.x < 0 || segment.x > width;
}

snake* snake::collide(snake* a, snake* b) {
    snake* crashWinner = b != nullptr ? b : a;
    for (snakeSegment* s = a->neck; s != nullptr; s = s->next) {
        if (sameCell(*a->head, *s)) return crashWinner;
        if (offField(*a->head)) return crashWinner;
        if (b != nullptr && sameCell(*b->head, *s)) return a;
    }
    return nullptr;
}

void snake::reset() {
    dispose();
    build();
}

std::string snake::getName() const {
    return name;
}
