// The food's pieces form a hand-made doubly linked list, newest first. The
// order of the random draws (y before x for the first piece, x before y when
// spawning, then the piece's value) decides where food appears for a seed.
#include "game/food.h"

#include "framework/App.h"
#include "game/randomDraw.h"
#include "game/snake.h"
#include "game/spriteFile.h"

#include <cstdlib>
#include <iostream>
#include <string>

food::foodPiece::foodPiece(const lum::Image* sprites, foodPiece* next, int x, int y)
    : value(std::rand() % VALUES + 1), image(sprites[value - 1]), x(x), y(y), next(next), prev(nullptr) {
    if (next != nullptr) next->prev = this;
}

food::food() {
    for (int i = 0; i < VALUES; ++i) {
        spriteFile::load(sprites[i], "food" + std::to_string(i + 1) + ".bmp");
    }
    // The first piece's bounds are fixed, not taken from the screen, which has
    // no size yet when the food is built.
    const int y = std::rand() % 570;
    const int x = std::rand() % 770;
    first = new foodPiece(sprites, nullptr, x, y);
    pieceCount = 1;
    timer = new lum::Timer(0, 1000, *this);
    timer->start();
}

food::~food() {
    delete timer;
    while (first != nullptr) {
        foodPiece* following = first->next;
        delete first;
        first = following;
    }
}

void food::onTimer(lum::Timer&) {
    if (delay != 0) {
        --delay;
        return;
    }
    // The wait is drawn even when the attempt adds nothing.
    delay = randomDraw::below(maxDelay);
    spawn();
}

bool food::tooClose(const foodPiece& piece, int x, int y) {
    return piece.x - PIECE_SIZE <= x && x <= piece.x + PIECE_SIZE && piece.y - PIECE_SIZE <= y &&
           y <= piece.y + PIECE_SIZE;
}

void food::spawn() {
    if (pieceCount >= maxPieces) return;
    const unsigned int width = lum::application.getScreenWidth();
    const unsigned int height = lum::application.getScreenHeight();
    const unsigned int margin = 2 * PIECE_SIZE;
    if (width <= margin || height <= margin) return; // no field to place a piece on yet
    int x = static_cast<int>(randomDraw::below(width - margin)) + PIECE_SIZE;
    int y = static_cast<int>(randomDraw::below(height - margin)) + PIECE_SIZE;

    // A point too close to a piece is drawn again over the whole screen until it
    // clears that piece; then every piece is checked again from the start.
    for (foodPiece* p = first; p != nullptr;) {
        if (!tooClose(*p, x, y)) {
            p = p->next;
            continue;
        }
        do {
            x = static_cast<int>(randomDraw::below(width));
            y = static_cast<int>(randomDraw::below(height));
        } while (tooClose(*p, x, y));
        p = first;
    }
    addPiece(x, y);
}

void food::addPiece(int x, int y) {
    first = new foodPiece(sprites, first, x, y);
    ++pieceCount;
}

bool food::reached(const foodPiece& piece, int headX, int headY) {
    // A corner of the head's 10 x 10 square strictly inside the piece's square;
    // squares that only touch along an edge do not count.
    return piece.x - snake::CELL < headX && headX < piece.x + PIECE_SIZE &&
           piece.y - snake::CELL < headY && headY < piece.y + PIECE_SIZE;
}

void food::unlink(foodPiece* piece) {
    if (piece->prev != nullptr) {
        piece->prev->next = piece->next;
    } else {
        first = piece->next;
    }
    if (piece->next != nullptr) piece->next->prev = piece->prev;
}

void food::collide(snake* s) {
    for (foodPiece* p = first; p != nullptr; p = p->next) {
        if (!reached(*p, s->head->x, s->head->y)) continue;
        std::cout << "Collide Next: " << static_cast<const void*>(p->next)
                  << " Prev: " << static_cast<const void*>(p->prev) << std::endl;
        s->grow(p->value);
        unlink(p);
        delete p;
        --pieceCount;
        return;
    }
}

void food::reset() {
    while (pieceCount > 1 && first != nullptr) {
        foodPiece* oldFirst = first;
        first = oldFirst->next;
        if (first != nullptr) first->prev = nullptr;
        delete oldFirst;
        --pieceCount;
    }
}
